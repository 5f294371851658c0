// make_noise writes the committed tables byte for byte, and fails loudly
// when it cannot write them.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

std::vector<uint8_t> ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

int RunMakeNoise(const std::string& arguments) {
    const std::string command =
        std::string("'") + QF_MAKE_NOISE + "' " + arguments + " 2>/dev/null";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class MakeNoise : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/make_noise_test.XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        directory = pattern;
    }
    void TearDown() override {
        for (int id = 129; id <= 132; ++id)
            std::remove(TablePath(directory, id).c_str());
        rmdir(directory.c_str());
    }
    static std::string TablePath(const std::string& folder, int id) {
        return folder + "/noise_" + std::to_string(id) + ".dat";
    }
    std::string directory;
};

TEST_F(MakeNoise, RewritesTheCommittedTablesByteForByte) {
    ASSERT_EQ(RunMakeNoise("'" + directory + "'"), 0);
    for (int id = 129; id <= 132; ++id) {
        const std::vector<uint8_t> committed = ReadAll(TablePath(QF_RESOURCE_DIR, id));
        ASSERT_FALSE(committed.empty()) << id;
        EXPECT_TRUE(ReadAll(TablePath(directory, id)) == committed) << "noise_" << id << ".dat";
    }
}

TEST_F(MakeNoise, FailsWithoutADirectoryOrWhenItCannotWrite) {
    EXPECT_EQ(RunMakeNoise(""), 2);
    EXPECT_EQ(RunMakeNoise("'" + directory + "' extra"), 2);
    EXPECT_EQ(RunMakeNoise("'" + directory + "/missing'"), 1);
    EXPECT_TRUE(ReadAll(TablePath(directory + "/missing", 129)).empty());
}

} // namespace
