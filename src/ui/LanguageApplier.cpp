#include "ui/LanguageApplier.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <functional>

#include "ui/MainTexts.h"
#include "ui/controls/Hint.h"
#include "ui/controls/LabeledEdit.h"
#include "ui/controls/PageControl.h"
#include "ui/controls/RadioGroup.h"

using maintexts::Element;

namespace {

using Setter = std::function<void(const QString&)>;

// Finds a window's controls by objectName and knows how each kind of control
// takes a caption, a label, a choice list or a hint.
class TextTargets {
public:
    explicit TextTargets(QWidget& window)
        : window_(window), pages_(window.findChild<PageControl*>(maintexts::kParameterPage)) {}

    Setter setter(const char* control, Element element) const {
        const QString name = QString::fromLatin1(control);
        if (pages_ != nullptr && pages_->page(name) != nullptr) {
            return pageSetter(name, element);
        }
        QObject* object = window_.findChild<QObject*>(name);
        if (object == nullptr) {
            return {};
        }
        switch (element) {
            case Element::Caption:
                return captionSetter(*object);
            case Element::Label:
                return labelSetter(*object);
            case Element::Items:
                return itemsSetter(*object);
            case Element::Hint:
                return hintSetter(*object);
        }
        return {};
    }

    template <typename T>
    T* find(const char* control) const {
        return window_.findChild<T*>(QString::fromLatin1(control));
    }

private:
    Setter pageSetter(const QString& page, Element element) const {
        PageControl* pages = pages_;
        if (element == Element::Caption) {
            return [pages, page](const QString& text) { pages->setPageCaption(page, text); };
        }
        if (element == Element::Hint) {
            return [pages, page](const QString& text) { pages->setPageHint(page, text); };
        }
        return {};
    }

    static Setter captionSetter(QObject& object) {
        if (auto* action = qobject_cast<QAction*>(&object)) {
            return [action](const QString& text) { action->setText(text); };
        }
        if (auto* menu = qobject_cast<QMenu*>(&object)) {
            return [menu](const QString& text) { menu->setTitle(text); };
        }
        if (auto* box = qobject_cast<QGroupBox*>(&object)) {
            return [box](const QString& text) { box->setTitle(text); };
        }
        if (auto* button = qobject_cast<QAbstractButton*>(&object)) {
            return [button](const QString& text) { button->setText(text); };
        }
        if (auto* label = qobject_cast<QLabel*>(&object)) {
            return [label](const QString& text) { label->setText(text); };
        }
        return {};
    }

    static Setter labelSetter(QObject& object) {
        if (auto* edit = qobject_cast<LabeledEdit*>(&object)) {
            return [edit](const QString& text) { edit->setCaption(text); };
        }
        return {};
    }

    static Setter itemsSetter(QObject& object) {
        if (auto* group = qobject_cast<RadioGroup*>(&object)) {
            return [group](const QString& text) { group->setItems(text.split(QLatin1Char('\n'))); };
        }
        return {};
    }

    static Setter hintSetter(QObject& object) {
        if (auto* action = qobject_cast<QAction*>(&object)) {
            return [action](const QString& text) { setHint(*action, text); };
        }
        if (auto* menu = qobject_cast<QMenu*>(&object)) {
            return [menu](const QString& text) { setHint(*menu->menuAction(), text); };
        }
        if (auto* widget = qobject_cast<QWidget*>(&object)) {
            return [widget](const QString& text) { setHint(*widget, text); };
        }
        return {};
    }

    QWidget& window_;
    PageControl* pages_;
};

void applyEntries(const TextTargets& targets, std::span<const maintexts::Entry> entries,
                  uint8_t uiLanguage) {
    for (const maintexts::Entry& entry : entries) {
        const auto text = maintexts::textFor(entry, uiLanguage);
        const Setter set = targets.setter(entry.control, entry.element);
        if (text && set) {
            set(*text);
        }
    }
}

void applySensorEntries(const TextTargets& targets, const MainState& state) {
    applyEntries(targets, maintexts::cycleTimeCaption(state.CycleTimeCaption), state.UiLanguage);
    applyEntries(targets, maintexts::linearizationWording(state.InternalLinearization),
                 state.UiLanguage);
}

void markLanguage(const TextTargets& targets, uint8_t uiLanguage) {
    if (auto* english = targets.find<QAction>(maintexts::kEnglishItem)) {
        english->setChecked(uiLanguage == kUiEnglish);
    }
    if (auto* german = targets.find<QAction>(maintexts::kGermanItem)) {
        german->setChecked(uiLanguage == kUiGerman);
    }
}

void copyOriginHint(const TextTargets& targets) {
    auto* label = targets.find<QWidget>(maintexts::kOriginLabel);
    auto* button = targets.find<QWidget>(maintexts::kOriginButton);
    if (label != nullptr && button != nullptr) {
        setHint(*button, hintOf(*label));
    }
}

void shapeChargepumpGroup(const TextTargets& targets, const maintexts::ChargepumpGroup& shape) {
    if (auto* group = targets.find<QWidget>(maintexts::kChargepumpStages)) {
        group->setFixedHeight(shape.height);
    }
    if (auto* model = targets.find<QWidget>(maintexts::kModel)) {
        model->setVisible(shape.modelVisible);
    }
}

void repaintPages(const TextTargets& targets) {
    for (const char* name : maintexts::kRepaintedPages) {
        if (auto* page = targets.find<QWidget>(name)) {
            page->repaint();
        }
    }
}

QLatin1String elementName(Element element) {
    switch (element) {
        case Element::Caption:
            return QLatin1String("caption");
        case Element::Label:
            return QLatin1String("label");
        case Element::Items:
            return QLatin1String("items");
        case Element::Hint:
            break;
    }
    return QLatin1String("hint");
}

}  // namespace

void applyMainTexts(QWidget& window, const MainState& state) {
    const TextTargets targets(window);
    markLanguage(targets, state.UiLanguage);
    if (state.UiLanguage == kUiEnglish || state.UiLanguage == kUiGerman) {
        applyEntries(targets, maintexts::catalogue(), state.UiLanguage);
        applySensorEntries(targets, state);
        copyOriginHint(targets);
        const auto& chargepump = maintexts::chargepumpGroup(state.SensorTypeText);
        applyEntries(targets, chargepump.texts, state.UiLanguage);
        shapeChargepumpGroup(targets, chargepump);
    }
    repaintPages(targets);
}

void applySensorTexts(QWidget& window, const MainState& state) {
    applySensorEntries(TextTargets(window), state);
}

void applyLayoutTexts(QWidget& window) {
    const TextTargets targets(window);
    for (const maintexts::LayoutText& entry : maintexts::layoutTexts()) {
        if (const Setter set = targets.setter(entry.control, entry.element)) {
            set(QString::fromUtf8(entry.text));
        }
    }
}

QStringList missingTextControls(QWidget& window) {
    const TextTargets targets(window);
    QStringList missing;
    auto check = [&](const char* control, Element element) {
        if (!targets.setter(control, element)) {
            missing << QStringLiteral("%1 (%2)").arg(QLatin1String(control), elementName(element));
        }
    };
    for (const auto& entry : maintexts::catalogue()) {
        check(entry.control, entry.element);
    }
    for (const auto& entry : maintexts::chargepumpGroup(QString()).texts) {
        check(entry.control, entry.element);
    }
    for (const auto& entry : maintexts::layoutTexts()) {
        check(entry.control, entry.element);
    }
    for (const auto& entry : maintexts::cycleTimeCaption(maintexts::CycleTimeWording::Initial)) {
        check(entry.control, entry.element);
    }
    for (const auto& entry : maintexts::linearizationWording(true)) {
        check(entry.control, entry.element);
    }
    check(maintexts::kOriginButton, Element::Hint);
    return missing;
}
