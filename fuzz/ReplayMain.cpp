// Without libFuzzer (gcc builds) a fuzz target still runs as a test: it replays
// every file of its seed folder and then a fixed series of pseudo-random inputs.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv)
{
    if (argc > 1 && std::filesystem::is_directory(argv[1])) {
        for (const auto& entry : std::filesystem::directory_iterator(argv[1])) {
            std::ifstream in(entry.path(), std::ios::binary);
            std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
            LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
        }
    }
    std::mt19937 random(20150327);
    for (int run = 0; run < 2000; ++run) {
        std::vector<uint8_t> bytes(random() % 512);
        for (auto& b : bytes)
            b = static_cast<uint8_t>(random());
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    }
    return 0;
}
