#pragma once

// The tab pages of the main window, in the order of their tabs, by objectName.
namespace pagenames {

inline constexpr char SSISettings[] = "SSISettings";
inline constexpr char ErrorIndication[] = "ErrorIndication";
inline constexpr char Measurement[] = "Measurement";
inline constexpr char Measurement2[] = "Measurement2";
inline constexpr char LinPage[] = "LinPage";
inline constexpr char Firmware[] = "Firmware";
inline constexpr char ExpertSettings[] = "ExpertSettings";
inline constexpr char ExpertSettings2[] = "ExpertSettings2";

inline constexpr const char* InTabOrder[] = {SSISettings,    ErrorIndication, Measurement,
                                             Measurement2,   LinPage,         Firmware,
                                             ExpertSettings, ExpertSettings2};

}  // namespace pagenames
