// A program that imports a DLL outside the allowed list. It is only linked,
// never run: the import check must refuse it.
#include <winsock2.h>

int main() {
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data);
}
