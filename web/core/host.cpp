#include "host.h"

#include <emscripten.h>

#include <array>

// Each call goes to the worker's Module.host (see korvane_web.h), which reads
// and writes texts as Latin-1 bytes, as the desktop's files hold them.
EM_JS(void, host_output, (const char* text), { Module.host.output(text); });
EM_JS(void, host_message, (const char* text), { Module.host.message(text); });
EM_JS(int, host_show, (const uint8_t* pixels), { return Module.host.show(pixels); });
EM_JS(int, host_poll, (), { return Module.host.poll(); });
EM_JS(void, host_sleep, (int32_t ms), { Module.host.sleep(ms); });
EM_JS(int, host_answer, (int kind, char* buffer, int size), { return Module.host.answer(kind, buffer, size); });
EM_JS(int, host_before_draw, (int32_t line, const char* builtin, const uint8_t* pixels),
      { return Module.host.beforeDraw(line, builtin, pixels); });
EM_JS(void, host_text_mask,
      (const char* font, int32_t points, const char* text, int32_t left, int32_t top, uint8_t* mask),
      { Module.host.textMask(font, points, text, left, top, mask); });

namespace korvane::host {

void output(const char* text) { host_output(text); }
void message(const char* text) { host_message(text); }
int show(const uint8_t* pixels) { return host_show(pixels); }
int poll() { return host_poll(); }
void sleep(int32_t ms) { host_sleep(ms); }

std::string answer(int kind) {
    // An input box's answer is one line; a longer one is cut, not overrun.
    std::array<char, 4096> buffer{};
    const int n = host_answer(kind, buffer.data(), static_cast<int>(buffer.size()));
    return std::string(buffer.data(), n > 0 && n <= static_cast<int>(buffer.size()) ? n : 0);
}

int before_draw(int32_t line, const char* builtin, const uint8_t* pixels) {
    return host_before_draw(line, builtin, pixels);
}

void text_mask(const char* font, int32_t points, const char* text, int32_t left, int32_t top, uint8_t* mask) {
    host_text_mask(font, points, text, left, top, mask);
}

}  // namespace korvane::host
