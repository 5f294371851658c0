// Runs quillfrost-sim as a user would and checks what it prints.
#include <sys/wait.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/run/snow_run.h"
#include "platform/platform.h"
#include "core/settings/settings.h"

namespace {
struct RunResult {
    int status;
    std::string out;
    std::string err;
};

RunResult RunSim(const std::string& arguments) {
    std::string errFile = testing::TempDir() + "quillfrost_sim_stderr.txt";
    std::string command = std::string(QF_SIM_PATH) + " " + arguments + " 2>" + errFile;
    RunResult result{-1, "", ""};
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return result;
    }
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        result.out.append(buffer, n);
    }
    int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (FILE* err = std::fopen(errFile.c_str(), "r")) {
        while ((n = fread(buffer, 1, sizeof buffer, err)) > 0) {
            result.err.append(buffer, n);
        }
        std::fclose(err);
    }
    return result;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        lines.push_back(line);
    }
    return lines;
}

// The fields of one dump line after its tag, as floats read back from text.
std::vector<float> Fields(const std::string& line, std::string& tag) {
    std::istringstream in(line);
    in >> tag;
    std::vector<float> fields;
    std::string word;
    while (in >> word) {
        fields.push_back(std::strtof(word.c_str(), nullptr));
    }
    return fields;
}

bool SameBits(float a, float b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}
} // namespace

TEST(QuillfrostSim, BadArgumentsNameTheArgumentAndShowTheUsage) {
    const char* bad[] = {"--bogus",     "--quantity 101",   "--speed -1",  "--ticks abc",
                         "--seed",      "--fractal-wind 2", "--step-ms 0", "--step-ms 40001",
                         "--width 12x", "--seed 4294967296"};
    for (const char* arguments : bad) {
        RunResult r = RunSim(arguments);
        EXPECT_EQ(r.status, 2) << arguments;
        EXPECT_TRUE(r.out.empty()) << arguments;
        std::vector<std::string> lines = Lines(r.err);
        ASSERT_EQ(lines.size(), 2u) << arguments << "\n" << r.err;
        std::string option = std::string(arguments).substr(0, std::string(arguments).find(' '));
        EXPECT_NE(lines[0].find(option), std::string::npos) << lines[0];
        EXPECT_EQ(lines[1].rfind("usage: quillfrost-sim [--seed N]", 0), 0u) << lines[1];
    }
}

TEST(QuillfrostSim, TheSameSeedGivesTheSameDump) {
    RunResult a = RunSim("--seed 77 --ticks 300 --quantity 10 --dump");
    RunResult b = RunSim("--seed 77 --ticks 300 --quantity 10 --dump");
    RunResult c = RunSim("--seed 78 --ticks 300 --quantity 10 --dump");
    ASSERT_EQ(a.status, 0) << a.err;
    ASSERT_EQ(b.status, 0);
    EXPECT_EQ(a.out, b.out);
    EXPECT_NE(a.out, c.out);
    // A wind line, then one line per flake: 10 % gives 590 flakes.
    std::vector<std::string> lines = Lines(a.out);
    ASSERT_EQ(lines.size(), 591u);
    EXPECT_EQ(lines[0].rfind("wind ", 0), 0u);
    EXPECT_EQ(lines[590].rfind("flake 589 ", 0), 0u);
}

// The dump reads back to exactly the floats of the same run made here.
TEST(QuillfrostSim, DumpReadsBackToTheSimulatedState) {
    for (int fractal = 0; fractal <= 1; ++fractal) {
        const uint32_t seed = 2024, ticks = 700, stepMs = 30;
        std::string arguments = "--seed 2024 --quantity 3 --speed 80 --width 800 --height 600 "
                                "--ticks 700 --step-ms 30 --dump --fractal-wind " +
                                std::to_string(fractal);
        RunResult r = RunSim(arguments);
        ASSERT_EQ(r.status, 0) << r.err;

        const SnowRunChoice choice = {
            {PercentToFraction(3), PercentToFraction(80), static_cast<uint8_t>(fractal)},
            800,
            600,
            PlatformResourceBytes,
            {nullptr, nullptr},
            1,
            seed,
            stepMs,
            0};
        SnowRun run = {};
        ASSERT_EQ(StartSnowRun(run, choice), kSnowRunStarted);
        for (uint32_t t = 0; t < ticks; ++t) {
            StepSnowRun(run, stepMs);
        }
        const FlakeScene& scene = *run.flakeScene;

        std::vector<std::string> lines = Lines(r.out);
        ASSERT_EQ(lines.size(), static_cast<size_t>(scene.flakeCount) + 1);
        std::string tag;
        std::vector<float> wind = Fields(lines[0], tag);
        ASSERT_EQ(tag, "wind");
        ASSERT_EQ(wind.size(), 9u);
        EXPECT_EQ(wind[0], scene.wind.plainWind);
        EXPECT_TRUE(SameBits(wind[1], scene.wind.gust));
        EXPECT_TRUE(SameBits(wind[2], scene.wind.gustRate));
        EXPECT_TRUE(SameBits(wind[3], scene.wind.windSpeed));
        EXPECT_TRUE(SameBits(wind[8], scene.wind.drift.x));

        // Box widened by the margin, as the update computes it.
        const float minX = static_cast<float>(scene.minX - 0.1);
        const float maxX = static_cast<float>(scene.maxX + 0.1);
        const float minY = static_cast<float>(scene.minY - 0.1);
        const float maxY = static_cast<float>(scene.maxY + 0.1);
        int active = 0;
        for (int32_t i = 0; i < scene.flakeCount; ++i) {
            std::vector<float> f = Fields(lines[i + 1], tag);
            ASSERT_EQ(tag, "flake");
            ASSERT_EQ(f.size(), 14u);
            ASSERT_EQ(f[0], static_cast<float>(i));
            const Flake& k = scene.flakes[i];
            const float expected[] = {k.position.x, k.position.y, k.position.z, k.velocity.x,
                                      k.velocity.y, k.velocity.z, k.angle,      k.size,
                                      k.mass,       k.flutter,    k.spinRate,   k.terminalSpeed};
            EXPECT_EQ(f[1], k.active);
            for (int field = 0; field < 12; ++field) {
                ASSERT_TRUE(SameBits(f[2 + field], expected[field])) << i << " field " << field;
                ASSERT_TRUE(std::isfinite(f[2 + field]));
            }
            if (f[1] != 0) {
                ++active;
                EXPECT_TRUE(f[2] >= minX && f[2] <= maxX) << i;
                EXPECT_TRUE(f[3] >= minY && f[3] <= maxY) << i;
                EXPECT_TRUE(f[4] >= -0.1f && f[4] <= 1.1f) << i;
            }
        }
        // 21 s of simulated time: every one of the 247 flakes is out.
        EXPECT_EQ(active, scene.flakeCount);
        EndSnowRun(run);
    }
}

TEST(QuillfrostSim, ADumpThatCannotBeWrittenFailsWithAMessage) {
    const std::string errFile = testing::TempDir() + "quillfrost_sim_full.txt";
    const std::string command =
        std::string(QF_SIM_PATH) + " --seed 1 --ticks 10 --dump >/dev/full 2>" + errFile;
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    std::string err;
    if (FILE* in = std::fopen(errFile.c_str(), "r")) {
        char buffer[512];
        err.assign(buffer, std::fread(buffer, 1, sizeof buffer, in));
        std::fclose(in);
    }
    EXPECT_EQ(err, "quillfrost-sim: cannot write the output: No space left on device\n");
}

TEST(QuillfrostSim, BenchPrintsTimesPerFlake) {
    RunResult r = RunSim("--seed 1 --ticks 50 --quantity 0 --bench");
    ASSERT_EQ(r.status, 0) << r.err;
    std::vector<std::string> lines = Lines(r.out);
    ASSERT_EQ(lines.size(), 3u) << r.out;
    EXPECT_EQ(lines[0], "flakes 100");
    std::string tag;
    std::vector<float> update = Fields(lines[1], tag);
    EXPECT_EQ(tag, "update_ns_per_flake");
    ASSERT_EQ(update.size(), 1u);
    EXPECT_GT(update[0], 0.0f);
    std::vector<float> vertices = Fields(lines[2], tag);
    EXPECT_EQ(tag, "vertices_ns_per_flake");
    ASSERT_EQ(vertices.size(), 1u);
    EXPECT_GT(vertices[0], 0.0f);
}
