#include "files/gui/SaveParameters.h"

#include <QFile>
#include <QFileInfo>

#include "comm/Ssicom.h"
#include "files/FileHeader.h"
#include "files/StoredSet.h"
#include "files/gui/Comment.h"
#include "files/gui/FileTexts.h"
#include "platform/AtomicFile.h"
#include "platform/Windows1252.h"
#include "ui/MainState.h"
#include "ui/PairedMessage.h"

namespace files {

void SaveParameters::Run() {
    Dialogs& dialogs = state_.dialogs();
    const QString path = dialogs.saveFileName(
        {QString(), filetexts::FileFilter, filetexts::ProposedName, filetexts::DefaultSuffix});
    if (path.isEmpty())
        return;
    if (QFileInfo::exists(path) &&
        ShowPairedMessage(dialogs, state_.UiLanguage, messages::overwriteQuestion(),
                          MessageButtons::YesNo, MessageIcon::Question) != MessageResult::Yes)
        return;
    const std::optional<std::string> header = askHeader();
    if (!header)
        return;
    const ParameterFile file = FileOfSet(sensor_.Parameters(), *header, today_());
    if (!platform::WriteFileAtomically(QFile::encodeName(path).toStdString(),
                                       EncodeParameterFile(file))
             .ok)
        ShowPairedMessage(dialogs, state_.UiLanguage,
                          filetexts::message(filetexts::Id::CannotCreate), MessageButtons::Ok,
                          MessageIcon::Error);
}

std::optional<std::string> SaveParameters::askHeader() {
    TFileCommentForm form(state_.UiLanguage);
    form.AcceptsComment = [this](const QString& comment) { return headerFor(comment).has_value(); };
    state_.dialogs().execDialog(form);
    return headerFor(form.Comment());
}

std::optional<std::string> SaveParameters::headerFor(const QString& comment) {
    const QByteArray utf8 = comment.toUtf8();
    const std::string_view text(utf8.constData(), static_cast<size_t>(utf8.size()));
    const Header header = BuildHeader(programTitle_.toStdString(), text);
    if (header.problem == HeaderProblem::None)
        return header.text;
    if (header.problem == HeaderProblem::CommentNotEncodable) {
        const auto encoded = platform::EncodeWindows1252(text);
        const QList<uint> rest =
            QString::fromUtf8(utf8.mid(qsizetype(encoded.errorOffset))).toUcs4();
        if (!rest.isEmpty())
            ShowPairedMessage(state_.dialogs(), state_.UiLanguage,
                              filetexts::commentNotStorable(char32_t(rest.front())),
                              MessageButtons::Ok, MessageIcon::Error);
    }
    return std::nullopt;
}

}  // namespace files
