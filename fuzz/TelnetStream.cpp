// What a network serial server sends to the client: line data mixed with Telnet
// option requests and COM-port subnegotiations, split into reads at the places
// the first bytes pick.
#include <cstdlib>
#include <vector>

#include "platform/TelnetCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    platform::TelnetCodec codec;
    codec.greeting();
    const size_t piece = size_t(data[0] % 16) + 1;
    std::vector<uint8_t> received;
    for (size_t at = 1; at < size; at += piece) {
        const size_t n = std::min(piece, size - at);
        codec.receive(data + at, n, received);
        for (const auto& reply : codec.takeReplies()) {
            if (reply.value.size() >= platform::TelnetCodec::MaxSubnegotiation)
                std::abort();
        }
        if (codec.takeAnswers().size() % 3 != 0)
            std::abort();
    }
    if (received.size() > size)
        std::abort();
    return 0;
}
