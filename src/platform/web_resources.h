// The browser's side of the seam: the page fetches the resources the Windows
// saver carries in its file (the noise tables, the sprite) and hands their
// bytes over here.
#pragma once

#include <cstdint>

// From now on PlatformResourceBytes(id) gives these bytes, which must stay
// valid for the life of the page.
void SetWebResource(int id, const unsigned char* data, uint32_t size);
