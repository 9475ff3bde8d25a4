#include "files/gui/Files.h"

#include <QDate>

#include "files/gui/LoadParameters.h"
#include "files/gui/SaveParameters.h"

namespace files {

SaveDate CurrentDate() {
    const QDate today = QDate::currentDate();
    return {static_cast<uint32_t>(today.year()), static_cast<uint8_t>(today.month()),
            static_cast<uint8_t>(today.day())};
}

Files::Files(MainState& state, TSSICom& sensor, PageControl& parameterPage,
             std::function<void()> speedEntered, QString programTitle)
    : Today(CurrentDate),
      state_(state),
      sensor_(sensor),
      parameterPage_(parameterPage),
      speedEntered_(std::move(speedEntered)),
      programTitle_(std::move(programTitle)) {}

void Files::FileSaveAs() {
    SaveParameters(state_, sensor_, programTitle_, [this] { return Today(); }).Run();
}

void Files::FileOpen() {
    LoadParameters(state_, sensor_, parameterPage_, speedEntered_).Run();
}

void Files::LoadSet(const ParameterFile& file, const std::string& subject) {
    LoadParameters(state_, sensor_, parameterPage_, speedEntered_).Offer(file, subject);
}

}  // namespace files
