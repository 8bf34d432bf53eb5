// Reading an answer: never crashes, never reads outside the text, never returns NaN or
// infinity, and agrees with the slow reference reader on every input.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "runtime/numtext.h"
#include "tests/support/oracle.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const double value = dravlet::readNumber(text);
    const double expected = dravlet::testing::referenceRead(text);
    if (!std::isfinite(value)) {
        std::fprintf(stderr, "not finite: %g\n", value);
        std::abort();
    }
    // Bit for bit (so 0 and -0 differ), except that both readers may give either zero.
    if (std::memcmp(&value, &expected, sizeof value) != 0 && !(value == 0.0 && expected == 0.0)) {
        std::fprintf(stderr, "read %.17g, reference %.17g\n", value, expected);
        std::abort();
    }
    return 0;
}
