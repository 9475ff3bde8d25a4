#pragma once

class EditorContract;

namespace params {

// The update button: makes the changes that reached the sensor permanent in its EEPROM.
class EepromUpdate {
public:
    explicit EepromUpdate(EditorContract& contract) : contract_(contract) {}

    void EEPROMUpdateButtonClick();

private:
    void warnIfRangeNeedsTeaching();

    EditorContract& contract_;
};

}  // namespace params
