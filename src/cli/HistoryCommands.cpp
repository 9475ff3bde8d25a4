#include "HistoryCommands.h"

#include <cstdio>
#include <vector>

#include "ExitCode.h"
#include "FileCommands.h"
#include "FileOutput.h"
#include "JsonOutput.h"
#include "comm/SensorRules.h"
#include "station/Restore.h"

namespace cli {

namespace {

const char* resultWord(const history::Event& event) {
    return event.ok ? "ok" : "failed";
}

std::string programText(const history::Event& event) {
    return event.origin.program + " " + event.origin.version;
}

std::string orDash(const std::string& text) {
    return text.empty() ? "-" : text;
}

std::string eventRow(const std::string& id, const std::string& time, const std::string& operation,
                     const std::string& result, const std::string& factoryNumber,
                     const std::string& program, const std::string& port,
                     const std::string& subject) {
    char line[512];
    std::snprintf(line, sizeof line, "%5s  %-24s  %-15s  %-6s  %-8s  %-20s  %-14s  %s", id.c_str(),
                  time.c_str(), operation.c_str(), result.c_str(), factoryNumber.c_str(),
                  program.c_str(), port.c_str(), subject.c_str());
    std::string text = line;
    text.erase(text.find_last_not_of(' ') + 1);
    return text + "\n";
}

std::string eventLine(const history::Event& event) {
    return eventRow(std::to_string(event.id), event.time, history::OperationName(event.operation),
                    resultWord(event), orDash(event.factoryNumber), programText(event),
                    orDash(event.port), event.subject);
}

std::string eventJson(const history::Event& event) {
    return "{\"id\": " + std::to_string(event.id) + ", \"time\": " + jsonUtf8String(event.time) +
           ", \"operation\": " + jsonUtf8String(history::OperationName(event.operation)) +
           ", \"ok\": " + (event.ok ? "true" : "false") +
           ", \"factoryNumber\": " + jsonString(event.factoryNumber) +
           ", \"firmwareVersion\": " + std::to_string(event.firmwareVersion) +
           ", \"program\": " + jsonUtf8String(event.origin.program) +
           ", \"version\": " + jsonUtf8String(event.origin.version) +
           ", \"account\": " + jsonUtf8String(event.origin.account) +
           ", \"port\": " + jsonUtf8String(event.port) +
           ", \"subject\": " + jsonUtf8String(event.subject) +
           ", \"message\": " + jsonUtf8String(event.message) + "}";
}

// The date of the event's time ("2026-12-10T10:47:30.125Z").
files::SaveDate eventDate(const std::string& time) {
    unsigned year = 0;
    unsigned month = 0;
    unsigned day = 0;
    if (std::sscanf(time.c_str(), "%4u-%2u-%2u", &year, &month, &day) != 3)
        return {};
    return {year, uint8_t(month), uint8_t(day)};
}

// The event's set as a file of all its registers, described by its header.
files::ParameterFile eventFile(const history::Event& event) {
    const ParameterSet set = history::SetOf(event);
    std::string header = history::EventName(event.id) + ": " +
                         history::OperationName(event.operation) + " (" + resultWord(event) +
                         ") of sensor " + orDash(event.factoryNumber) + " on " +
                         orDash(event.port) + " by " + programText(event) + " (" +
                         event.origin.account + "), " + event.time;
    if (!event.subject.empty())
        header += "\n" + event.subject;
    files::ParameterFile file{header, eventDate(event.time), files::FullSetSize, {}};
    for (const ParameterSet::DataElement& element : set.ParameterStruct)
        file.values.push_back(element.Value);
    return file;
}

std::string modelText(int32_t model) {
    const rules::ModelCode code = rules::ModelCodeFor(model);
    return code.family == rules::SensorFamily::None ? "model " + rules::ModelLetters(model)
                                                    : rules::FamilyLine(code);
}

std::string misfitText(const station::RestoreResult& result, const ParameterSet& old) {
    if (result.misfit == station::Misfit::FirmwareType)
        return "another firmware type (" + std::to_string(old.FirmwareType()) + ", not " +
               std::to_string(rules::FirmwareTypeOf(result.presentFirmware)) + ")";
    return "another sensor family (" + modelText(old[TSSICom::Model].Value) + ", not " +
           modelText(result.presentModel) + ")";
}

}  // namespace

int HistoryCommands::run(const HistoryInvocation& history, bool json) {
    switch (history.action) {
        case HistoryAction::List:
            return list(history, json);
        case HistoryAction::Show:
            return show(history.ids.at(0), json);
        case HistoryAction::Diff:
            return diff(history.ids.at(0), history.ids.at(1), json);
        case HistoryAction::Restore:
            break;
    }
    return UsageError;
}

int HistoryCommands::list(const HistoryInvocation& history, bool json) {
    history::EventFilter filter;
    if (!history.factoryNumber.empty())
        filter.factoryNumber = history.factoryNumber;
    filter.since = history.since;
    const auto events = store_.events(filter);
    if (!events)
        return storeFailed("read");
    if (json) {
        out_ << "[";
        for (size_t i = 0; i < events->size(); ++i)
            out_ << (i == 0 ? "" : ", ") << eventJson((*events)[i]);
        out_ << "]\n";
        return Success;
    }
    if (events->empty()) {
        out_ << "No events in the history database " << database_ << "\n";
        return Success;
    }
    out_ << eventRow("ID", "Time (UTC)", "Operation", "Result", "Factory", "Program", "Port",
                     "Subject");
    for (const history::Event& event : *events)
        out_ << eventLine(event);
    return Success;
}

int HistoryCommands::show(int64_t id, bool json) {
    const auto event = eventWithSet(id);
    if (!event)
        return FileFailure;
    const files::ParameterFile file = eventFile(*event);
    out_ << (json ? parameterFileJson(file) + "\n"
                  : parameterFileTable(history::EventName(id), file));
    return Success;
}

int HistoryCommands::diff(int64_t first, int64_t second, bool json) {
    const auto a = eventWithSet(first);
    const auto b = a ? eventWithSet(second) : std::nullopt;
    if (!a || !b)
        return FileFailure;
    std::vector<bool> compared;
    std::vector<std::string> notCompared;
    for (size_t r = 0; r < a->registers->size(); ++r) {
        compared.push_back((*a->registers)[r].answered && (*b->registers)[r].answered);
        if (!compared.back())
            notCompared.push_back(ParameterSet::RegisterKey(ParameterSet::RegisterIndex(r)));
    }
    const auto differences = differingValues(eventFile(*a).values, eventFile(*b).values, compared);
    out_ << (json ? differencesJson(history::EventName(first), history::EventName(second),
                                    differences, notCompared) +
                        "\n"
                  : differencesTable(history::EventName(first), history::EventName(second),
                                     differences, notCompared));
    return Success;
}

int HistoryCommands::restore(TSSICom& com, const std::string& port,
                             const std::string& oldFactoryNumber, bool commit, bool json,
                             OperationLog* log) {
    const std::string before = store_.lastError();
    const auto recorded = store_.lastSet(oldFactoryNumber);
    if (!recorded) {
        if (store_.lastError() != before)
            return storeFailed("read");
        err_ << "No set of sensor " << oldFactoryNumber << " is recorded in the history DB "
             << database_ << "\n";
        return SensorFailure;
    }
    const ParameterSet old = history::SetOf(*recorded);
    const std::string subject = history::RestoreSubject(*recorded);
    const station::RestoreResult result = station::Restore(com, old, commit);
    if (result.refused()) {
        err_ << "The recorded set of sensor " << oldFactoryNumber << " ("
             << history::EventName(recorded->id) << ") does not fit the sensor on " << port << ": "
             << misfitText(result, old) << "; nothing was written\n";
        if (log != nullptr)
            log->done(history::Operation::Load, false, subject);
        return SensorFailure;
    }
    return SensorFileCommands(com, port, out_, err_, {}, log)
        .reportApplied("the set of " + subject, result.apply, json, subject);
}

std::optional<history::Event> HistoryCommands::eventWithSet(int64_t id) {
    const std::string before = store_.lastError();
    auto event = store_.event(id);
    if (!event) {
        if (store_.lastError() != before) {
            storeFailed("read");
        } else {
            err_ << "No event " << id << " in the history database " << database_ << "\n";
        }
        return std::nullopt;
    }
    if (!event->registers) {
        err_ << "Event " << id << " (" << history::OperationName(event->operation)
             << ") recorded no parameter set\n";
        return std::nullopt;
    }
    return event;
}

int HistoryCommands::storeFailed(const std::string& what) {
    err_ << "Cannot " << what << " the history database " << database_ << ": " << store_.lastError()
         << "\n";
    return FileFailure;
}

}  // namespace cli
