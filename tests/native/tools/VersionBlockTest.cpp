// The version resource script: fixed info, the string table and the translation.
#include "VersionBlock.h"

#include <gtest/gtest.h>

namespace {

TEST(VersionBlock, ContainsTheVersionsAndFlags) {
    std::string script = MakeVersionScript();
    const char* lines[] = {
        "\n1 VERSIONINFO\n",          "\nFILEVERSION 2,0,0,3\n",
        "\nPRODUCTVERSION 1,0,0,1\n", "\nFILEFLAGSMASK 0x3fL\n",
        "\nFILEFLAGS 0x28L\n",        "\nFILEOS 0x4L\n",
        "\nFILETYPE 0x1L\n",          "\nFILESUBTYPE 0x0L\n",
        "BLOCK \"040704b0\"\n",       "VALUE \"Translation\", 0x407, 1200\n",
    };
    for (const char* line : lines) EXPECT_NE(script.find(line), std::string::npos) << line;
}

TEST(VersionBlock, ContainsTheStrings) {
    std::string script = MakeVersionScript();
    const char* values[] = {
        "VALUE \"Comments\", \"Release 03.08.2001\"\n",
        "VALUE \"CompanyName\", \"Orvand\"\n",
        "VALUE \"FileDescription\", \"Orvand Zeitdifferenz-Rechner\"\n",
        "VALUE \"FileVersion\", \"2, 0, 0, 3\"\n",
        "VALUE \"InternalName\", \"Orvand\"\n",
        "VALUE \"LegalCopyright\", \"Copyright (C) 2001 Orvand\"\n",
        "VALUE \"LegalTrademarks\", \" \"\n",
        "VALUE \"OriginalFilename\", \"Orvand.exe\"\n",
        "VALUE \"PrivateBuild\", \" \"\n",
        "VALUE \"ProductName\", \"Orvand\"\n",
        "VALUE \"ProductVersion\", \"1, 0, 0, 1\"\n",
        "VALUE \"SpecialBuild\", \" \"\n",
    };
    for (const char* value : values) EXPECT_NE(script.find(value), std::string::npos) << value;
    // windres adds the terminating NUL itself; an explicit one would be stored as well.
    EXPECT_EQ(script.find("\\0"), std::string::npos);
}

TEST(VersionBlock, IsPlainAsciiAndMarkedAsGenerated) {
    std::string script = MakeVersionScript();
    for (char c : script) EXPECT_TRUE(c == '\n' || (c >= 0x20 && c < 0x7f)) << int(c);
    EXPECT_EQ(script.rfind("// ", 0), 0u);
    EXPECT_NE(script.find("tools/generate"), std::string::npos);
    // The string table comes before the translation that describes it.
    EXPECT_LT(script.find("StringFileInfo"), script.find("VarFileInfo"));
}

} // namespace
