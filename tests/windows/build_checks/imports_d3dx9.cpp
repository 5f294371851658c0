// A program that imports the Direct3D 9 utility library. It is only linked,
// never run: the import check must refuse it.
#include <d3dx9.h>

int main() {
    D3DXMATRIX m;
    D3DXVECTOR3 eye(0, 0, -1), at(0, 0, 0), up(0, 1, 0);
    return D3DXMatrixLookAtLH(&m, &eye, &at, &up) == nullptr;
}
