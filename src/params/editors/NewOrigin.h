#pragma once

#include <cstdint>
#include <optional>

class EditorContract;

namespace params {

class OffsetEditor;

// Teaches the offset so that the magnet's present position reads 0: the sensor
// streams its position at 38400 baud, and the offset is rewritten by the last
// position received.
class NewOrigin {
public:
    NewOrigin(EditorContract& contract, OffsetEditor& offset)
        : contract_(contract), offset_(offset) {}

    void OriginButtonClick();

private:
    void startStreaming();
    std::optional<int32_t> readPosition(int32_t resolution);
    void returnToCommands(int32_t measurement);

    EditorContract& contract_;
    OffsetEditor& offset_;
};

}  // namespace params
