#pragma once
// Conversions between the units a sentence or a setting names and the internal units
// (metres per second, metres).
namespace brenvik {

// Unit letters: "K" km/h or km, "N" knots or nautical miles, other: m/s or m.
double ToMps(char unit, double v);
double FromMps(char unit, double v);
double ToMetres(char unit, double v);
double FromMetres(char unit, double v);
// "F" feet, "T" fathoms, other: metres.
double FromMetresVert(char unit, double v);

}  // namespace brenvik
