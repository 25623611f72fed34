// Lists the products that the installer service knows, one line each as "Apps & features"
// shows them: name|version|publisher|icon. The icon is the file the service keeps for it.
#include <windows.h>
#include <msi.h>

#include <cstdio>
#include <string>

// One property of an installed product; empty when the service has none.
static std::string Info(const char* product, const char* property) {
    char value[MAX_PATH] = "";
    DWORD size = sizeof value;
    if (MsiGetProductInfoA(product, property, value, &size) != ERROR_SUCCESS) return "";
    return value;
}

int main() {
    char product[39];
    for (DWORD i = 0; MsiEnumProductsA(i, product) == ERROR_SUCCESS; ++i) {
        std::printf("%s|%s|%s|%s\n", Info(product, "InstalledProductName").c_str(),
                    Info(product, "VersionString").c_str(), Info(product, "Publisher").c_str(),
                    Info(product, "ProductIcon").c_str());
    }
    return 0;
}
