#include <gtest/gtest.h>

#include "gl/fps_overlay.h"
#include "gl/gl_clip.h"

namespace {

// Row vector times matrix, then divided by w.
void Project(const Matrix4& m, float x, float y, float z, float out[3]) {
    float clip[4];
    for (int c = 0; c < 4; ++c) {
        clip[c] = x * m.m[0][c] + y * m.m[1][c] + z * m.m[2][c] + m.m[3][c];
    }
    for (int c = 0; c < 3; ++c) {
        out[c] = clip[c] / clip[3];
    }
}

TEST(GlClip, TheSnowCameraInOpenGLsDepthAndHalfAPixelOnAsDirect3DPutsIt) {
    const Matrix4 clip = GlSnowClip(640, 480);
    float p[3];
    // Straight ahead lands half a pixel right of and below the middle.
    Project(clip, 0.0f, 0.0f, 1.0f, p);
    EXPECT_NEAR(p[0], 1.0f / 640, 1e-6f);
    EXPECT_NEAR(p[1], -1.0f / 480, 1e-6f);
    // The near and far planes at -1 and 1.
    Project(clip, 0.0f, 0.0f, 0.1f, p);
    EXPECT_NEAR(p[2], -1.0f, 1e-5f);
    Project(clip, 0.0f, 0.0f, 20.0f, p);
    EXPECT_NEAR(p[2], 1.0f, 1e-5f);
    // x and y as the Direct3D projection has them, apart from the shift.
    const Camera camera = SnowCamera();
    const Matrix4 d3d = CameraProjection(camera, CameraAspect(640, 480));
    float q[3];
    Project(d3d, 0.3f, -0.2f, 1.5f, q);
    Project(clip, 0.3f, -0.2f, 1.5f, p);
    EXPECT_NEAR(p[0], q[0] + 1.0f / 640, 1e-5f);
    EXPECT_NEAR(p[1], q[1] - 1.0f / 480, 1e-5f);
}

TEST(GlClip, PixelsFromTheTopLeftCoverTheDrawable) {
    const Matrix4 clip = GlPixelClip(640, 480);
    float p[3];
    Project(clip, 0.0f, 0.0f, 0.0f, p);
    EXPECT_FLOAT_EQ(p[0], -1.0f);
    EXPECT_FLOAT_EQ(p[1], 1.0f);
    Project(clip, 640.0f, 480.0f, 0.0f, p);
    EXPECT_FLOAT_EQ(p[0], 1.0f);
    EXPECT_FLOAT_EQ(p[1], -1.0f);
}

TEST(FpsOverlay, ItsTextIsReadableOnA4KScreen) {
    // At least 1.5 % of 2160 lines.
    EXPECT_GE(kFpsOverlayGlyphHeight * FpsOverlayScale(2160), 32);
}

} // namespace
