// Deflate (RFC 1951) in a zlib wrapper (RFC 1950): LZ77 over hash chains with one step of
// lazy matching, then a single block with dynamic Huffman codes.
#include "Deflate.h"

#include <algorithm>

namespace {

const int kWindow = 32768;
const int kMinMatch = 3;
const int kMaxMatch = 258;
const int kMaxChain = 256; // candidates tried per position
const int kHashBits = 15;

// Length codes 257..285 and distance codes 0..29: smallest value and extra bits.
const uint16_t kLengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                  31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
const uint8_t kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                  2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
const uint16_t kDistanceBase[30] = {1,    2,    3,    4,    5,    7,    9,    13,    17,    25,
                                    33,   49,   65,   97,   129,  193,  257,  385,   513,   769,
                                    1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
const uint8_t kDistanceExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                    6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
// The order in which the code length code's lengths are stored.
const uint8_t kCodeLengthOrder[19] = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                      11, 4,  12, 3, 13, 2, 14, 1, 15};

// A literal (length 0) or a match of `length` bytes `distance` bytes back.
struct Token {
    uint16_t length;
    uint16_t distance;
    uint8_t literal;
};

// Writes bits least significant first, as deflate packs them.
struct BitWriter {
    std::vector<uint8_t>& out;
    uint32_t buffer = 0;
    int count = 0;

    // Appends the low `bits` bits of value.
    void Put(uint32_t value, int bits) {
        buffer |= value << count;
        count += bits;
        for (; count >= 8; count -= 8, buffer >>= 8) out.push_back(uint8_t(buffer & 0xff));
    }
    // Pads the last byte with zero bits.
    void Flush() {
        if (count > 0) out.push_back(uint8_t(buffer & 0xff));
        buffer = 0;
        count = 0;
    }
};

// Splits the data into literals and matches (greedy, but a longer match at the next byte wins).
std::vector<Token> FindMatches(const std::vector<uint8_t>& data) {
    const size_t n = data.size();
    std::vector<int32_t> head(size_t(1) << kHashBits, -1), prev(n, -1);
    auto hash = [&](size_t i) {
        return ((data[i] << 10) ^ (data[i + 1] << 5) ^ data[i + 2]) & ((1 << kHashBits) - 1);
    };
    auto insert = [&](size_t i) {
        if (i + kMinMatch > n) return;
        const int h = hash(i);
        prev[i] = head[h];
        head[h] = int32_t(i);
    };
    // Longest earlier match for position i (0 when shorter than kMinMatch).
    auto longest = [&](size_t i, int& distance) {
        if (i + kMinMatch > n) return 0;
        const int limit = int(std::min<size_t>(kMaxMatch, n - i));
        int best = 0, chain = kMaxChain;
        for (int32_t j = head[hash(i)]; j >= 0 && i - j <= kWindow && chain-- > 0; j = prev[j]) {
            const uint8_t *here = &data[i], *there = &data[size_t(j)];
            if (there[best] != here[best]) continue; // cannot be longer than the best
            int length = 0;
            while (length < limit && there[length] == here[length]) ++length;
            if (length > best) {
                best = length;
                distance = int(i - j);
                if (length == limit) break;
            }
        }
        return best >= kMinMatch ? best : 0;
    };

    std::vector<Token> tokens;
    bool pending = false; // a match found at i - 1, waiting for a look at position i
    int pendingLength = 0, pendingDistance = 0;
    size_t i = 0;
    while (i < n) {
        int distance = 0;
        const int length = longest(i, distance);
        insert(i);
        if (pending && length <= pendingLength) {
            tokens.push_back({uint16_t(pendingLength), uint16_t(pendingDistance), 0});
            const size_t end = i - 1 + pendingLength;
            for (size_t k = i + 1; k < end; ++k) insert(k);
            i = end;
            pending = false;
            continue;
        }
        if (pending) tokens.push_back({0, 0, data[i - 1]}); // the match here is longer
        pending = length > 0;
        pendingLength = length;
        pendingDistance = distance;
        if (!pending) tokens.push_back({0, 0, data[i]});
        ++i;
    }
    if (pending) tokens.push_back({uint16_t(pendingLength), uint16_t(pendingDistance), 0});
    return tokens;
}

// Gives unused symbols a count until at least two are used: every code then has two codes.
void AtLeastTwoSymbols(std::vector<uint32_t>& counts) {
    size_t used = size_t(std::count_if(counts.begin(), counts.end(), [](uint32_t c) { return c; }));
    for (size_t k = 0; used < 2; ++k)
        if (!counts[k]) counts[k] = 1, ++used;
}

// Canonical codes for the lengths, bit-reversed for least-significant-first writing.
std::vector<uint16_t> Codes(const std::vector<uint8_t>& lengths) {
    int perLength[16] = {}, next[16] = {};
    for (uint8_t length : lengths) ++perLength[length];
    perLength[0] = 0;
    for (int bits = 1, code = 0; bits < 16; ++bits)
        next[bits] = code = (code + perLength[bits - 1]) << 1;
    std::vector<uint16_t> codes(lengths.size(), 0);
    for (size_t i = 0; i < lengths.size(); ++i) {
        if (!lengths[i]) continue;
        const int code = next[lengths[i]]++;
        int reversed = 0;
        for (int b = 0; b < lengths[i]; ++b) reversed |= ((code >> b) & 1) << (lengths[i] - 1 - b);
        codes[i] = uint16_t(reversed);
    }
    return codes;
}

// Index of the last table entry not above value.
template <size_t N> int CodeFor(const uint16_t (&bases)[N], int value) {
    int code = int(N) - 1;
    while (bases[code] > value) --code;
    return code;
}

// One code length symbol: 0..15, or 16/17/18 with its repeat count in extra bits.
struct LengthSymbol {
    uint8_t symbol, extra, extraBits;
};

// Run-length codes for the sequence of code lengths.
std::vector<LengthSymbol> RunLengths(const std::vector<uint8_t>& lengths) {
    std::vector<LengthSymbol> out;
    for (size_t i = 0; i < lengths.size();) {
        const uint8_t value = lengths[i];
        size_t run = 1;
        while (i + run < lengths.size() && lengths[i + run] == value) ++run;
        i += run;
        if (value == 0) {
            for (; run >= 11; run -= std::min<size_t>(run, 138))
                out.push_back({18, uint8_t(std::min<size_t>(run, 138) - 11), 7});
            if (run >= 3) out.push_back({17, uint8_t(run - 3), 3}), run = 0;
        } else {
            out.push_back({value, 0, 0});
            for (--run; run >= 3; run -= std::min<size_t>(run, 6))
                out.push_back({16, uint8_t(std::min<size_t>(run, 6) - 3), 2});
        }
        for (; run > 0; --run) out.push_back({value, 0, 0});
    }
    return out;
}

// The tokens as one final block with dynamic Huffman codes.
void WriteBlock(const std::vector<Token>& tokens, BitWriter& bits) {
    std::vector<uint32_t> literalCounts(286, 0), distanceCounts(30, 0);
    for (const Token& t : tokens) {
        if (t.length == 0) {
            ++literalCounts[t.literal];
            continue;
        }
        ++literalCounts[257 + size_t(CodeFor(kLengthBase, t.length))];
        ++distanceCounts[size_t(CodeFor(kDistanceBase, t.distance))];
    }
    literalCounts[256] = 1; // end of block
    AtLeastTwoSymbols(literalCounts);
    AtLeastTwoSymbols(distanceCounts);
    std::vector<uint8_t> literalLengths = HuffmanLengths(literalCounts, 15);
    std::vector<uint8_t> distanceLengths = HuffmanLengths(distanceCounts, 15);
    while (literalLengths.size() > 257 && !literalLengths.back()) literalLengths.pop_back();
    while (distanceLengths.size() > 1 && !distanceLengths.back()) distanceLengths.pop_back();

    std::vector<uint8_t> sequence = literalLengths;
    sequence.insert(sequence.end(), distanceLengths.begin(), distanceLengths.end());
    const std::vector<LengthSymbol> runs = RunLengths(sequence);
    std::vector<uint32_t> runCounts(19, 0);
    for (const LengthSymbol& r : runs) ++runCounts[r.symbol];
    AtLeastTwoSymbols(runCounts);
    const std::vector<uint8_t> runLengths = HuffmanLengths(runCounts, 7);
    const std::vector<uint16_t> runCodes = Codes(runLengths);
    int stored = 19;
    while (stored > 4 && !runLengths[kCodeLengthOrder[stored - 1]]) --stored;

    bits.Put(1, 1); // final block
    bits.Put(2, 2); // dynamic Huffman codes
    bits.Put(uint32_t(literalLengths.size() - 257), 5);
    bits.Put(uint32_t(distanceLengths.size() - 1), 5);
    bits.Put(uint32_t(stored - 4), 4);
    for (int k = 0; k < stored; ++k) bits.Put(runLengths[kCodeLengthOrder[k]], 3);
    for (const LengthSymbol& r : runs) {
        bits.Put(runCodes[r.symbol], runLengths[r.symbol]);
        bits.Put(r.extra, r.extraBits);
    }

    const std::vector<uint16_t> literalCodes = Codes(literalLengths);
    const std::vector<uint16_t> distanceCodes = Codes(distanceLengths);
    for (const Token& t : tokens) {
        if (t.length == 0) {
            bits.Put(literalCodes[t.literal], literalLengths[t.literal]);
            continue;
        }
        const int l = CodeFor(kLengthBase, t.length), d = CodeFor(kDistanceBase, t.distance);
        bits.Put(literalCodes[257 + size_t(l)], literalLengths[257 + size_t(l)]);
        bits.Put(uint32_t(t.length - kLengthBase[l]), kLengthExtra[l]);
        bits.Put(distanceCodes[size_t(d)], distanceLengths[size_t(d)]);
        bits.Put(uint32_t(t.distance - kDistanceBase[d]), kDistanceExtra[d]);
    }
    bits.Put(literalCodes[256], literalLengths[256]);
}

} // namespace

std::vector<uint8_t> HuffmanLengths(std::vector<uint32_t> counts, int maxBits) {
    // Ties go to the lower symbol, so that the result is always the same.
    const size_t n = counts.size();
    std::vector<uint8_t> lengths(n, 0);
    for (;;) {
        std::vector<int> leaves;
        for (size_t i = 0; i < n; ++i)
            if (counts[i]) leaves.push_back(int(i));
        std::stable_sort(leaves.begin(), leaves.end(),
                         [&](int a, int b) { return counts[a] < counts[b]; });
        // Nodes 0..n-1 are the symbols, n.. the inner nodes in the order they are made, which
        // is also the order of their weights: two queues give the two lightest nodes.
        std::vector<uint64_t> weight(n + leaves.size());
        std::vector<size_t> parent(n + leaves.size(), 0);
        for (size_t i = 0; i < n; ++i) weight[i] = counts[i];
        size_t nextLeaf = 0, nextInner = n, end = n;
        auto lightest = [&]() {
            if (nextLeaf < leaves.size() &&
                (nextInner == end || weight[size_t(leaves[nextLeaf])] <= weight[nextInner]))
                return size_t(leaves[nextLeaf++]);
            return nextInner++;
        };
        for (size_t k = 1; k < leaves.size(); ++k) {
            const size_t a = lightest(), b = lightest();
            weight[end] = weight[a] + weight[b];
            parent[a] = parent[b] = end++;
        }
        std::vector<int> depth(end, 0); // the root, end - 1, has depth 0
        for (size_t node = end - 1; node-- > n;) depth[node] = depth[parent[node]] + 1;
        int longestCode = 0;
        for (int leaf : leaves) {
            lengths[size_t(leaf)] = uint8_t(depth[parent[size_t(leaf)]] + 1);
            longestCode = std::max<int>(longestCode, lengths[size_t(leaf)]);
        }
        if (longestCode <= maxBits) return lengths;
        for (uint32_t& c : counts) c = c ? (c + 1) / 2 : 0;
    }
}

uint32_t Adler32(const uint8_t* bytes, size_t count) {
    uint32_t a = 1, b = 0;
    for (size_t i = 0; i < count; ++i) {
        a = (a + bytes[i]) % 65521;
        b = (b + a) % 65521;
    }
    return b << 16 | a;
}

uint32_t Crc32(const uint8_t* bytes, size_t count, uint32_t crc) {
    crc = ~crc;
    for (size_t i = 0; i < count; ++i) {
        crc ^= bytes[i];
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

std::vector<uint8_t> ZlibCompress(const std::vector<uint8_t>& data) {
    std::vector<uint8_t> out = {0x78, 0xDA}; // deflate, 32 KB window; header check bits
    BitWriter bits{out};
    WriteBlock(FindMatches(data), bits);
    bits.Flush();
    const uint32_t adler = Adler32(data.data(), data.size());
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(uint8_t(adler >> shift));
    return out;
}
