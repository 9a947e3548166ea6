// SPDX-License-Identifier: GPL-3.0-or-later
// The bodies of host.h: each hands its call to the worker's Module.host.
#include "host.h"

#include <emscripten.h>

EM_JS(void, host_output, (const char* text), { Module.host.output(text); });
EM_JS(void, host_message, (const char* text), { Module.host.message(text); });
EM_JS(int, host_show, (const uint8_t* pixels), { return Module.host.show(pixels); });
EM_JS(int, host_poll, (), { return Module.host.poll(); });
EM_JS(void, host_sleep, (int32_t ms), { Module.host.sleep(ms); });
EM_JS(int, host_answer, (int kind, char* buffer, int size), { return Module.host.answer(kind, buffer, size); });
EM_JS(int, host_before_draw, (int32_t line, const char* builtin, const uint8_t* pixels),
      { return Module.host.beforeDraw(line, builtin, pixels); });
EM_JS(int, host_pause, (const char* json, const int32_t* range, const uint8_t* pixels, int32_t* line),
      { return Module.host.pause(json, range, pixels, line); });
EM_JS(void, host_frame, (const uint8_t* pixels), { Module.host.frame(pixels); });
