#include <gtest/gtest.h>

#include <cmath>

#include "core/view/camera.h"

namespace {

// Row vector times matrix.
void Transform(const Matrix4& m, float x, float y, float z, float out[4]) {
    for (int c = 0; c < 4; ++c) {
        out[c] = x * m.m[0][c] + y * m.m[1][c] + z * m.m[2][c] + m.m[3][c];
    }
}

TEST(Camera, AspectIsWidthOverHeightAsAFloat) {
    EXPECT_EQ(CameraAspect(1024, 768), 1.3333334f);
    EXPECT_EQ(CameraAspect(1280, 1024), 1.25f);
    EXPECT_EQ(CameraAspect(152, 112), static_cast<float>(152.0 / 112.0));
    // A window without area gets a square view rather than a broken matrix.
    EXPECT_EQ(CameraAspect(640, 0), 1.0f);
    EXPECT_EQ(CameraAspect(0, 480), 1.0f);
}

TEST(Camera, TheSnowIsSeenFromTheOriginAlongPlusZThroughItsFieldOfView) {
    const Camera camera = SnowCamera();
    const Matrix4 view = CameraView(camera);
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            EXPECT_EQ(view.m[r][c], r == c ? 1.0f : 0.0f) << r << ", " << c;
        }
    }
    const Matrix4 projection = CameraProjection(camera, 1.3333334f);
    float p[4];
    // Depth 2 is inside the view volume, depth 0.05 before the near plane.
    Transform(projection, 0.5f, -0.5f, 2.0f, p);
    EXPECT_GT(p[2] / p[3], 0.0f);
    EXPECT_LT(p[2] / p[3], 1.0f);
    EXPECT_LT(std::fabs(p[0] / p[3]), 1.0f);
    EXPECT_LT(std::fabs(p[1] / p[3]), 1.0f);
    Transform(projection, 0.0f, 0.0f, 0.05f, p);
    EXPECT_LT(p[2] / p[3], 0.0f);
    // The near and far planes land on depth 0 and 1.
    Transform(projection, 0.0f, 0.0f, 0.1f, p);
    EXPECT_NEAR(p[2] / p[3], 0.0f, 1e-6f);
    Transform(projection, 0.0f, 0.0f, 20.0f, p);
    EXPECT_NEAR(p[2] / p[3], 1.0f, 1e-6f);
    // The top edge of the field of view at depth 1 is tan(0.425) up, the
    // right edge the aspect times that across.
    Transform(projection, 0.0f, std::tan(0.425f), 1.0f, p);
    EXPECT_NEAR(p[1] / p[3], 1.0f, 1e-5f);
    Transform(projection, 1.3333334f * std::tan(0.425f), 0.0f, 1.0f, p);
    EXPECT_NEAR(p[0] / p[3], 1.0f, 1e-5f);
}

TEST(Camera, LookAtMovesTheEyeToTheOriginAndTheTargetOntoPlusZ) {
    Camera camera = SnowCamera();
    camera.eye = {1.0f, 2.0f, 3.0f};
    camera.target = {4.0f, 2.0f, 7.0f};
    const Matrix4 view = CameraView(camera);
    float p[4];
    Transform(view, 1.0f, 2.0f, 3.0f, p);
    EXPECT_NEAR(p[0], 0.0f, 1e-6f);
    EXPECT_NEAR(p[1], 0.0f, 1e-6f);
    EXPECT_NEAR(p[2], 0.0f, 1e-6f);
    Transform(view, 4.0f, 2.0f, 7.0f, p);
    EXPECT_NEAR(p[0], 0.0f, 1e-5f);
    EXPECT_NEAR(p[1], 0.0f, 1e-5f);
    EXPECT_NEAR(p[2], 5.0f, 1e-5f); // the distance from eye to target
    // A point above the eye stays above.
    Transform(view, 1.0f, 3.0f, 3.0f, p);
    EXPECT_NEAR(p[1], 1.0f, 1e-6f);

    // The product transforms as the two in turn.
    const Matrix4 both = MultiplyMatrices(view, CameraProjection(camera, 1.25f));
    float viewed[4];
    float projected[4];
    Transform(view, 2.0f, 1.0f, 6.0f, viewed);
    Transform(CameraProjection(camera, 1.25f), viewed[0], viewed[1], viewed[2], projected);
    Transform(both, 2.0f, 1.0f, 6.0f, p);
    for (int c = 0; c < 4; ++c) {
        EXPECT_NEAR(p[c], projected[c], 1e-5f) << c;
    }
}

} // namespace
