// The simulator's command parser: any bytes, as commands and as a downloaded program that
// then runs, in bounded time and memory and without undefined behaviour.
#include "controller/controller.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    controller::Controller immediate({});
    immediate.receive(bytes, 0);
    immediate.machine().advance(1);

    controller::Controller program({.fixedReply = {}, .silent = false, .loopback = true});
    program.receive(std::string("\x1b\x1b") + "DL\r" + bytes + "\r\rG\r", 0);
    for (int step = 1; step <= 50 && program.machine().running(); ++step) {
        program.machine().advance(step * 0.1);
    }
    (void)program.receive("?PE\r?INP\r", 6);
    return 0;
}
