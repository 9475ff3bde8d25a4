#pragma once

class EditorContract;

namespace params {

class OffsetEditor;

// Teaches the offset so that the magnet's present position reads 0: the offset
// field is rewritten by the position the sensor's stream gives.
class NewOrigin {
public:
    NewOrigin(EditorContract& contract, OffsetEditor& offset)
        : contract_(contract), offset_(offset) {}

    void OriginButtonClick();

private:
    EditorContract& contract_;
    OffsetEditor& offset_;
};

}  // namespace params
