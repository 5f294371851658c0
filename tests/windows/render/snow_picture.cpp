#include "snow_picture.h"

#include <cstdint>
#include <cstdio>

std::vector<int> CaptureScreen(int left, int top, int width, int height) {
    std::vector<int> grey;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap && bits) {
        HGDIOBJ previous = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, screen, left, top, SRCCOPY);
        GdiFlush();
        const uint8_t* pixels = static_cast<const uint8_t*>(bits);
        grey.resize(static_cast<size_t>(width) * height);
        for (size_t i = 0; i < grey.size(); ++i) {
            grey[i] = pixels[i * 4 + 1];
        }
        SelectObject(memory, previous);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return grey;
}

void SavePicture(const char* name, const std::vector<int>& grey, int width, int height) {
    FILE* file = std::fopen(name, "wb");
    if (!file) {
        return;
    }
    std::fprintf(file, "P5 %d %d 255\n", width, height);
    for (int v : grey) {
        std::fputc(v, file);
    }
    std::fclose(file);
}

SnowPicture Analyse(const std::vector<int>& grey, int width, int height) {
    SnowPicture picture{0, 0.0, 0};
    std::vector<uint8_t> seen(grey.size(), 0);
    size_t black = 0;
    for (size_t i = 0; i < grey.size(); ++i) {
        black += grey[i] < 8 ? 1 : 0;
        picture.softPixels += (grey[i] >= 8 && grey[i] < 200) ? 1 : 0;
    }
    picture.blackShare = grey.empty() ? 0.0 : static_cast<double>(black) / grey.size();
    // Patches of pixels brighter than 40, four-connected.
    std::vector<size_t> stack;
    for (size_t start = 0; start < grey.size(); ++start) {
        if (seen[start] || grey[start] <= 40) {
            continue;
        }
        ++picture.spots;
        stack.push_back(start);
        seen[start] = 1;
        while (!stack.empty()) {
            size_t i = stack.back();
            stack.pop_back();
            const int x = static_cast<int>(i % width);
            const int y = static_cast<int>(i / width);
            const int nx[4] = {x - 1, x + 1, x, x};
            const int ny[4] = {y, y, y - 1, y + 1};
            for (int k = 0; k < 4; ++k) {
                if (nx[k] < 0 || ny[k] < 0 || nx[k] >= width || ny[k] >= height) {
                    continue;
                }
                size_t j = static_cast<size_t>(ny[k]) * width + nx[k];
                if (!seen[j] && grey[j] > 40) {
                    seen[j] = 1;
                    stack.push_back(j);
                }
            }
        }
    }
    return picture;
}
