// Runs a fuzz target's body over saved inputs without libFuzzer: the seed corpus and the inputs
// the fuzzers once found failing, so that the normal test suite keeps them fixed. Arguments are
// files or folders (read recursively, in name order); a folder that does not exist holds nothing.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

std::vector<std::filesystem::path> Inputs(const std::filesystem::path& where) {
    std::vector<std::filesystem::path> out;
    std::error_code ec;
    if (std::filesystem::is_regular_file(where, ec)) {
        out.push_back(where);
    } else if (std::filesystem::is_directory(where, ec)) {
        for (const auto& e : std::filesystem::recursive_directory_iterator(where))
            if (e.is_regular_file()) out.push_back(e.path());
    }
    std::sort(out.begin(), out.end());
    return out;
}

} // namespace

int main(int argc, char** argv) {
    std::size_t count = 0;
    for (int i = 1; i < argc; ++i)
        for (const auto& file : Inputs(argv[i])) {
            std::ifstream in(file, std::ios::binary);
            const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
            std::printf("%s\n", file.c_str());
            std::fflush(stdout);
            // The copy is exactly as long as the input, so reads past its end are caught.
            const std::vector<std::uint8_t> copy(bytes);
            LLVMFuzzerTestOneInput(copy.data(), copy.size());
            ++count;
        }
    std::printf("%zu inputs ran\n", count);
    if (count == 0) {
        std::fprintf(stderr, "no inputs found\n");
        return 1;
    }
    return 0;
}
