#include "bench/soak/SensorTruth.h"

#include "comm/RegisterTable.h"

namespace soak {

namespace {

constexpr uint32_t SecErrorDigitsMask = 0xFF;

int32_t SignExtend24(uint32_t raw) {
    return static_cast<int32_t>((raw & 0x800000) != 0 ? raw | 0xFF000000 : raw & 0xFFFFFF);
}

// Three digits and C for a final 50 or F for a final 00, else four digits.
std::optional<int32_t> LengthOf(const std::string& la) {
    if (la.size() != 6)
        return std::nullopt;
    const std::string code = la.substr(2);
    const int32_t hundreds = std::stoi(code.substr(0, 3));
    if (code[3] == 'C')
        return hundreds * 100 + 50;
    if (code[3] == 'F')
        return hundreds * 100;
    return std::stoi(code);
}

bool Compared(TSSICom::RegisterIndex r) {
    switch (r) {
        case TSSICom::SSISampleTime:
        case TSSICom::OperatingTime:
        case TSSICom::LinTableByte:
        case TSSICom::LinTableAddress:
        case TSSICom::FactoryNumber:
            return false;
        default:
            return true;
    }
}

}  // namespace

std::optional<int32_t> SensorValue(const sim::SimulatedSensor& sensor, TSSICom::RegisterIndex r) {
    if (!Compared(r))
        return std::nullopt;
    const std::string la = sensor.laWord();
    switch (r) {
        case TSSICom::Length: {
            // The register holds 16 bits; longer codes (up to 999F) are cut.
            const std::optional<int32_t> length = LengthOf(la);
            return length ? std::optional(*length & 0xFFFF) : std::nullopt;
        }
        case TSSICom::Model:
            return static_cast<unsigned char>(la[0]) * 256 + static_cast<unsigned char>(la[1]);
        case TSSICom::LinStartValue:
            return sensor.linStartValue();
        case TSSICom::SecErrorValue:
            return static_cast<int32_t>(sensor.word("YA30000000") & SecErrorDigitsMask);
        default:
            break;
    }
    const comm::RegisterInfo& info = comm::registerInfo(r);
    const uint32_t raw = sensor.word(info.readCommand);
    switch (info.encoding) {
        case comm::Encoding::Signed24:
            return SignExtend24(raw);
        case comm::Encoding::Hex:
            return static_cast<int32_t>((raw & info.mask) >> info.shift);
        default:
            return static_cast<int32_t>(raw);
    }
}

std::vector<Mismatch> CompareBelief(const TSSICom& com, const sim::SimulatedSensor& sensor,
                                    const std::set<int>& believedAddresses) {
    std::vector<Mismatch> mismatches;
    for (int i = 0; i < TSSICom::RegisterCount; ++i) {
        const auto r = static_cast<TSSICom::RegisterIndex>(i);
        if (!com[r].Answered)
            continue;
        const std::optional<int32_t> truth = SensorValue(sensor, r);
        if (truth && *truth != com[r].Value)
            mismatches.push_back(
                {TSSICom::RegisterKey(r), std::to_string(com[r].Value), std::to_string(*truth)});
    }
    const auto& factoryNumber = com[TSSICom::FactoryNumber];
    if (factoryNumber.Answered && factoryNumber.Reply != sensor.factoryNumber())
        mismatches.push_back({"FactoryNumber", factoryNumber.Reply, sensor.factoryNumber()});
    for (const int address : believedAddresses) {
        const int belief =
            com.Parameters().LinTableImage[address - ParameterSet::LinTableFirstAddress];
        if (belief != sensor.linTableByte(address))
            mismatches.push_back({"table entry " + std::to_string(address), std::to_string(belief),
                                  std::to_string(sensor.linTableByte(address))});
    }
    return mismatches;
}

std::string Describe(const std::vector<Mismatch>& mismatches) {
    std::string text;
    for (const Mismatch& m : mismatches) {
        if (!text.empty())
            text += ", ";
        text += m.what + " shown " + m.belief + ", sensor " + m.sensor;
    }
    return text;
}

}  // namespace soak
