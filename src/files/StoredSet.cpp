#include "files/StoredSet.h"

#include <utility>

namespace files {

ParameterFile FileOfSet(const ParameterSet& set, std::string header, SaveDate date) {
    ParameterFile file{std::move(header), date, FullSetSize, {}};
    for (int r = 0; r < StoredRegisterCount; ++r)
        file.values.push_back(set.ParameterStruct[static_cast<size_t>(r)].Value);
    return file;
}

void LoadIntoSet(const ParameterFile& file, ParameterSet& set) {
    for (size_t r = 0; r < file.values.size() && r < set.ParameterStruct.size(); ++r) {
        if (r != ParameterSet::FirmwareVersion)
            set.ParameterStruct[r].Value = file.values[r];
    }
}

}  // namespace files
