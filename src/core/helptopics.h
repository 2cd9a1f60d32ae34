#pragma once
// Context numbers of the help topics, and the moments they are asked for.
namespace brenvik::help {

constexpr int Contents = 10;          // Help menu "Contents"
constexpr int Capacity = 100;         // capacity message
constexpr int About = 580;            // About box
constexpr int WriteGPSKML = 2000;     // success messages of the GPS text and KML writers
constexpr int WriteCSV = 2100;        // CSV and AIS CSV success messages, overwrite question
constexpr int OptionsGeneral = 3100;  // options dialog pages
constexpr int OptionsFormats = 3200;
constexpr int OptionsFields = 3300;
constexpr int OptionsEvents = 3400;
constexpr int Options = 3000;         // options dialog, no known page active

}  // namespace brenvik::help
