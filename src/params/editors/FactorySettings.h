#pragma once

class EditorContract;

namespace params {

class EepromUpdate;
struct PageControls;

// The sensor's factory set: read it into the working memory, write the working
// memory as the factory set, or restore the factory set for good.
class FactorySettings {
public:
    FactorySettings(PageControls& controls, EditorContract& contract, EepromUpdate& update)
        : ui_(controls), contract_(contract), update_(update) {}

    void ReadFactoryButtonClick();
    void WriteFactoryButtonClick();
    void RestoreFactorySettings1Click();

private:
    void highlightEverySetting();

    PageControls& ui_;
    EditorContract& contract_;
    EepromUpdate& update_;
};

}  // namespace params
