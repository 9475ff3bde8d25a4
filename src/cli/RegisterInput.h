#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "comm/Ssicom.h"

namespace cli {

// A value the user gave for one register, checked against the register's field.
struct RegisterInput {
    int32_t value = 0;
    std::string text;  // FactoryNumber: the characters to write
};

struct ValueParse {
    std::optional<RegisterInput> input;
    std::string error;  // set when input is empty
};

// False for the registers that have no write of their own or need more than a value.
bool isWritable(TSSICom::RegisterIndex r);

ValueParse parseRegisterValue(TSSICom::RegisterIndex r, const std::string& text);

// Puts the input where the register's write takes it from.
void applyInput(TSSICom::RegisterIndex r, TSSICom::DataElement& element,
                const RegisterInput& input);

// The register's parameter as a user reads it: letters for Model, the text of
// FactoryNumber, unsigned words as unsigned numbers.
std::string displayValue(TSSICom::RegisterIndex r, const TSSICom::DataElement& element);

}  // namespace cli
