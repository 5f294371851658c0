#pragma once

#include <windows.h>
#include <d3d9.h>

#include "core/view/flake_vertices.h"

// Clears, draws one square per flake and presents; Present's result once the
// scene could be begun, else the failing result of Clear or BeginScene.
HRESULT DrawFlakes(IDirect3DDevice9* device, const FlakeScene& scene, const FlakeVertex* vertices);
