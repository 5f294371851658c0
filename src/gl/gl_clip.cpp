#include "gl/gl_clip.h"

Matrix4 GlSnowClip(int32_t width, int32_t height) {
    const Camera camera = SnowCamera();
    Matrix4 clip =
        MultiplyMatrices(CameraView(camera), CameraProjectionFitted(camera, width, height));
    const float pixelX = width > 0 ? 1.0f / static_cast<float>(width) : 0.0f;
    const float pixelY = height > 0 ? 1.0f / static_cast<float>(height) : 0.0f;
    for (int row = 0; row < 4; ++row) {
        float* m = clip.m[row];
        m[0] += m[3] * pixelX;
        m[1] -= m[3] * pixelY;
        m[2] = 2.0f * m[2] - m[3];
    }
    return clip;
}

Matrix4 GlPixelClip(int32_t width, int32_t height) {
    Matrix4 clip = {};
    clip.m[0][0] = width > 0 ? 2.0f / static_cast<float>(width) : 0.0f;
    clip.m[1][1] = height > 0 ? -2.0f / static_cast<float>(height) : 0.0f;
    clip.m[2][2] = 1.0f;
    clip.m[3][0] = -1.0f;
    clip.m[3][1] = 1.0f;
    clip.m[3][3] = 1.0f;
    return clip;
}
