// The same picture on both platforms: the fixed scene drawn by the Linux
// hack's OpenGL path here, and by the Windows saver's Direct3D 9 path under
// Wine (d3d_snapshot), compared pixel by pixel. And what the OpenGL picture
// itself must show of a few known flakes, and of the frame rate over them.
#include <gtest/gtest.h>

#include <GL/glx.h>
#include <X11/Xlib.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "gl/fps_overlay.h"
#include "gl/gl_renderer.h"
#include "linux/sprite_image.h"
#include "resource_ids.h"
#include "snapshot_scene.h"

namespace {

using Picture = std::vector<uint8_t>;

// A window of the snapshot's size with a context current on it.
class GlWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        display_ = XOpenDisplay(nullptr);
        ASSERT_NE(display_, nullptr) << "no X display (scripts/test provides one)";
        int attributes[] = {
            GLX_RGBA, GLX_DOUBLEBUFFER, GLX_RED_SIZE, 8, GLX_GREEN_SIZE, 8, GLX_BLUE_SIZE, 8, None};
        XVisualInfo* visual = glXChooseVisual(display_, DefaultScreen(display_), attributes);
        ASSERT_NE(visual, nullptr);
        Window root = RootWindow(display_, visual->screen);
        XSetWindowAttributes set = {};
        set.colormap = XCreateColormap(display_, root, visual->visual, AllocNone);
        window_ = XCreateWindow(display_, root, 0, 0, kSnapshotWidth, kSnapshotHeight, 0,
                                visual->depth, InputOutput, visual->visual, CWColormap, &set);
        context_ = glXCreateContext(display_, visual, nullptr, True);
        XFree(visual);
        ASSERT_TRUE(glXMakeCurrent(display_, window_, context_));
        const ResourceBytes png = PlatformResourceBytes(IDR_SPRITE);
        SpriteImage sprite = {};
        ASSERT_EQ(DecodeSpritePng(png.data, png.size, sprite), "");
        const GlImage image = {sprite.rgba.data(), static_cast<int32_t>(sprite.width),
                               static_cast<int32_t>(sprite.height)};
        ASSERT_TRUE(CreateGlRenderer(renderer_, image, 5000));
        SetGlView(renderer_, kSnapshotWidth, kSnapshotHeight);
    }
    void TearDown() override {
        if (display_ == nullptr) {
            return;
        }
        ReleaseGlRenderer(renderer_);
        glXMakeCurrent(display_, None, nullptr);
        glXDestroyContext(display_, context_);
        XDestroyWindow(display_, window_);
        XCloseDisplay(display_);
    }

    // The scene drawn (with the overlay over it, if any), read back from the
    // back buffer, rows from the top.
    Picture Draw(const FlakeScene& scene, const FpsOverlay* overlay = nullptr) {
        std::vector<FlakeVertex> vertices(FlakeVertexCapacity(scene.flakeCount));
        BuildFlakeVertices(scene, vertices.data());
        DrawGlFlakes(renderer_, vertices.data(),
                     static_cast<size_t>(scene.flakeCount) * kVerticesPerFlake);
        if (overlay != nullptr) {
            DrawFpsOverlay(*overlay, renderer_.program, kSnapshotWidth, kSnapshotHeight);
        }
        std::vector<uint8_t> rgba(static_cast<size_t>(kSnapshotWidth) * kSnapshotHeight * 4);
        glReadBuffer(GL_BACK);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, kSnapshotWidth, kSnapshotHeight, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        Picture grey(static_cast<size_t>(kSnapshotWidth) * kSnapshotHeight);
        for (int y = 0; y < kSnapshotHeight; ++y) {
            for (int x = 0; x < kSnapshotWidth; ++x) {
                const size_t from =
                    (static_cast<size_t>(kSnapshotHeight - 1 - y) * kSnapshotWidth + x) * 4;
                grey[static_cast<size_t>(y) * kSnapshotWidth + x] = rgba[from + 1];
            }
        }
        return grey;
    }

    Display* display_ = nullptr;
    Window window_ = 0;
    GLXContext context_ = nullptr;
    GlRenderer renderer_ = {};
};

Picture ReadPgm(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int width = 0;
    int height = 0;
    int maximum = 0;
    in >> magic >> width >> height >> maximum;
    in.get();
    Picture picture{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (magic != "P5" || width != kSnapshotWidth || height != kSnapshotHeight ||
        picture.size() != static_cast<size_t>(width) * height) {
        picture.clear();
    }
    return picture;
}

// The mean of the 3 x 3 pixels around each pixel (fewer at the edges).
std::vector<double> Blurred(const Picture& picture) {
    std::vector<double> out(picture.size());
    for (int y = 0; y < kSnapshotHeight; ++y) {
        for (int x = 0; x < kSnapshotWidth; ++x) {
            double sum = 0.0;
            int count = 0;
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    const int px = x + dx;
                    const int py = y + dy;
                    if (px >= 0 && px < kSnapshotWidth && py >= 0 && py < kSnapshotHeight) {
                        sum += picture[static_cast<size_t>(py) * kSnapshotWidth + px];
                        ++count;
                    }
                }
            }
            out[static_cast<size_t>(y) * kSnapshotWidth + x] = sum / count;
        }
    }
    return out;
}

double Total(const Picture& picture) {
    double sum = 0.0;
    for (uint8_t v : picture) {
        sum += v;
    }
    return sum;
}

// The picture of `command`, which writes the fixed scene to the PGM it is
// given last; empty when it fails.
Picture PictureOf(const std::string& command, const std::string& name) {
    const std::string out = ::testing::TempDir() + name;
    std::remove(out.c_str());
    const std::string run = command + out;
    EXPECT_EQ(std::system(run.c_str()), 0) << run;
    return ReadPgm(out);
}

// The Windows saver's picture, drawn by its own Direct3D 9 path under Wine
// (the Windows build makes d3d_snapshot.exe; scripts/test builds both).
const Picture& Direct3DPicture() {
    static const Picture picture =
        PictureOf(std::string(QF_WINE_RUN) + " " + QF_D3D_SNAPSHOT + " Z:", "quillfrost_d3d.pgm");
    return picture;
}

// Two pictures show the same snow: the same light in all, within 2 %, and in
// every place, once the rasterisers' differences in the last pixel of an
// edge are evened out by a 3 x 3 blur, at most 0.1 % of pixels more than 3
// levels apart.
void ExpectSameSnow(const Picture& one, const char* oneName, const Picture& other,
                    const char* otherName) {
    ASSERT_FALSE(one.empty()) << oneName;
    ASSERT_FALSE(other.empty()) << otherName;
    const double oneTotal = Total(one);
    const double otherTotal = Total(other);
    ASSERT_GT(otherTotal, 0.0);
    EXPECT_NEAR(oneTotal / otherTotal, 1.0, 0.02) << oneTotal << " against " << otherTotal;
    const std::vector<double> a = Blurred(one);
    const std::vector<double> b = Blurred(other);
    size_t beyondFew = 0;
    double largest = 0.0;
    for (size_t i = 0; i < a.size(); ++i) {
        const double difference = std::fabs(a[i] - b[i]);
        beyondFew += difference > 3.0 ? 1 : 0;
        largest = std::max(largest, difference);
    }
    std::printf("light: %s %.0f, %s %.0f; after the blur %zu pixels differ by more than "
                "3 levels, at most %.2f\n",
                oneName, oneTotal, otherName, otherTotal, beyondFew, largest);
    EXPECT_LE(beyondFew, a.size() / 1000)
        << oneName << " against " << otherName << ": pixels beyond 3 levels, largest " << largest;
}

TEST_F(GlWindow, TheFixedSceneLooksTheSameAsTheWindowsSaversPicture) {
    SnowRun run = {};
    ASSERT_TRUE(StartSnapshotRun(run));
    const Picture gl = Draw(*run.flakeScene);
    EndSnowRun(run);
    ExpectSameSnow(gl, "OpenGL", Direct3DPicture(), "Direct3D");
}

TEST_F(GlWindow, TheFixedSceneInTheBrowserLooksTheSameAsOnLinuxAndWindows) {
    SnowRun run = {};
    ASSERT_TRUE(StartSnapshotRun(run));
    const Picture gl = Draw(*run.flakeScene);
    EndSnowRun(run);
    // Drawn by the page's module with WebGL in headless Chromium (the
    // browser build makes the page; scripts/test builds it too).
    const Picture web = PictureOf(QF_WEB_SNAPSHOT " ", "quillfrost_web.pgm");
    ExpectSameSnow(web, "WebGL", gl, "OpenGL");
    ExpectSameSnow(web, "WebGL", Direct3DPicture(), "Direct3D");
}

// A flake whose centre lands at the given normalised screen position (x
// right, y up, each -1..1) at depth coordinate pz, in the box of the view.
Flake FlakeAt(const FlakeScene& box, float ndcX, float ndcY, float pz, float size) {
    const double yScale = 1.0 / std::tan(0.425);
    const double xScale = yScale / (static_cast<double>(kSnapshotWidth) / kSnapshotHeight);
    const double z = 3.0 * pz + 2.0;
    const double width = box.maxX - box.minX;
    const double height = box.maxY - box.minY;
    Flake flake{};
    flake.position = {static_cast<float>((ndcX * z / xScale / width + 1.0) / 2.0),
                      static_cast<float>((ndcY * z / yScale / height + 1.0) / 2.0), pz};
    flake.size = size;
    return flake;
}

struct Spot {
    int peak;
    int lit; // pixels brighter than a faint glow
};

Spot SpotAround(const Picture& picture, float ndcX, float ndcY) {
    const int cx = static_cast<int>((ndcX + 1.0f) / 2.0f * kSnapshotWidth);
    const int cy = static_cast<int>((1.0f - ndcY) / 2.0f * kSnapshotHeight);
    Spot spot = {0, 0};
    for (int y = cy - 40; y <= cy + 40; ++y) {
        for (int x = cx - 40; x <= cx + 40; ++x) {
            const int v = picture[static_cast<size_t>(y) * kSnapshotWidth + x];
            spot.peak = std::max(spot.peak, v);
            spot.lit += v > 16 ? 1 : 0;
        }
    }
    return spot;
}

TEST_F(GlWindow, NearFlakesAreBrighterAndLargerOverlapsAddAndTheRestIsBlack) {
    FlakeScene scene{};
    SetFlakeSceneView(scene, kSnapshotWidth, kSnapshotHeight);
    scene.minY = -0.5f;
    scene.maxY = 1.4f;
    // Near (depth 0.1) and far (0.6), the same size; a single flake and two
    // that lie on one another.
    std::vector<Flake> flakes = {
        FlakeAt(scene, -0.5f, 0.5f, 0.1f, 0.03f), FlakeAt(scene, 0.5f, 0.5f, 0.6f, 0.03f),
        FlakeAt(scene, -0.5f, -0.5f, 0.3f, 0.03f), FlakeAt(scene, 0.5f, -0.5f, 0.3f, 0.03f),
        FlakeAt(scene, 0.5f, -0.5f, 0.3f, 0.03f)};
    scene.flakes = flakes.data();
    scene.flakeCount = static_cast<int32_t>(flakes.size());
    const Picture picture = Draw(scene);

    const Spot nearSpot = SpotAround(picture, -0.5f, 0.5f);
    const Spot farSpot = SpotAround(picture, 0.5f, 0.5f);
    const Spot single = SpotAround(picture, -0.5f, -0.5f);
    const Spot overlap = SpotAround(picture, 0.5f, -0.5f);
    EXPECT_GT(nearSpot.peak, farSpot.peak);
    EXPECT_GT(nearSpot.lit, farSpot.lit);
    EXPECT_GT(farSpot.lit, 20);
    EXPECT_GT(overlap.peak, single.peak + 40);
    // Black away from the flakes: the middle and the corners.
    for (int at :
         {0, kSnapshotWidth - 1, (kSnapshotHeight / 2) * kSnapshotWidth + kSnapshotWidth / 2,
          kSnapshotWidth * kSnapshotHeight - 1}) {
        EXPECT_EQ(picture[static_cast<size_t>(at)], 0) << at;
    }
}

TEST_F(GlWindow, TheFrameRateShowsInItsPanelAndLeavesTheSnowAroundItAsItWas) {
    SnowRun run = {};
    ASSERT_TRUE(StartSnapshotRun(run));
    const FlakeScene& scene = *run.flakeScene;
    FpsOverlay overlay = {};
    ASSERT_TRUE(CreateFpsOverlay(overlay));
    SetFpsOverlayRate(overlay, 12.34);
    const Picture shown = Draw(scene, &overlay);
    // Drawn after the overlay's frame, as the next frame is.
    const Picture plain = Draw(scene);
    ReleaseFpsOverlay(overlay);
    EndSnowRun(run);

    size_t differOutside = 0;
    size_t differInside = 0;
    int brightestInside = 0;
    const int scale = FpsOverlayScale(kSnapshotHeight);
    for (int y = 0; y < kSnapshotHeight; ++y) {
        for (int x = 0; x < kSnapshotWidth; ++x) {
            const size_t at = static_cast<size_t>(y) * kSnapshotWidth + x;
            const int fontX = x / scale;
            const int fontY = y / scale;
            const bool inside =
                fontX >= overlay.panelX && fontX < overlay.panelX + overlay.panelWidth &&
                fontY >= overlay.panelY && fontY < overlay.panelY + overlay.panelHeight;
            const bool differ = shown[at] != plain[at];
            (inside ? differInside : differOutside) += differ ? 1 : 0;
            brightestInside = inside ? std::max(brightestInside, int{shown[at]}) : brightestInside;
        }
    }
    EXPECT_EQ(differOutside, 0u);
    // "12.3 fps": over a hundred lit font pixels, white.
    EXPECT_GT(differInside, 100u);
    EXPECT_EQ(brightestInside, 255);
}

} // namespace
