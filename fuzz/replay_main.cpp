// Runs the fuzz target over files without libFuzzer: each argument is a file
// or a folder of files (every regular file in it, in name order). Used by CTest
// to replay the seed corpus and the saved findings in every build.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize);

namespace {
bool RunFile(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        std::fprintf(stderr, "cannot read %s\n", path.string().c_str());
        return false;
    }
    std::vector<char> data((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(data.data()), data.size());
    return true;
}
} // namespace

int main(int argc, char** argv)
{
    int nRun = 0;
    bool bOk = true;
    for (int i = 1; i < argc; ++i) {
        std::filesystem::path path(argv[i]);
        std::vector<std::filesystem::path> files;
        if (std::filesystem::is_directory(path)) {
            for (const auto& entry : std::filesystem::directory_iterator(path))
                if (entry.is_regular_file())
                    files.push_back(entry.path());
            std::sort(files.begin(), files.end());
        } else {
            files.push_back(path);
        }
        for (const auto& file : files) {
            bOk = RunFile(file) && bOk;
            ++nRun;
        }
    }
    std::printf("replayed %d inputs\n", nRun);
    return bOk && nRun > 0 ? 0 : 1;
}
