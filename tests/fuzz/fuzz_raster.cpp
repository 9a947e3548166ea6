// Raster routines on arguments taken from the input bytes: whatever they
// are, only the canvas bytes may change.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "random_calls.h"
#include "test_canvas.h"

namespace {

// Argument source over the fuzz input; runs dry as zeros.
class BytesArgs {
public:
    BytesArgs(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool empty() const { return at_ >= size_; }
    int32_t any() {
        int32_t v = 0;
        const size_t n = size_ - at_ < 4 ? size_ - at_ : 4;
        std::memcpy(&v, data_ + at_, n);
        at_ += n;
        return v;
    }
    uint16_t colour() { return static_cast<uint16_t>(any()); }
    int32_t small(int n) { return static_cast<int32_t>(static_cast<uint32_t>(any()) % static_cast<uint32_t>(n)); }

private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static korvane::test::TestCanvas canvas(400, 400, 0);
    BytesArgs args(data, size);
    uint16_t pattern = 0xFF00, acc = 0;
    for (int calls = 0; calls < 16 && !args.empty(); ++calls) {
        korvane::test::draw_random(canvas.rows(), args, pattern, acc);
        if (!canvas.guards_intact()) __builtin_trap();
    }
    return 0;
}
