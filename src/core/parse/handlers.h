#pragma once
// The NMEA sentence handlers: each stores what its sentence says in curevent.
#include "model/sentencefields.h"

namespace brenvik {

class Session;

// Position and time sentences (satellite-navigation talkers GP, GN, GL, GA, GB, BD, GQ, GI, IN,
// and the instrument systems II and EC).
void DoGGA(Session& s, const Fields& f);
void DoGLL(Session& s, const Fields& f);
void DoGSA(Session& s, const Fields& f);
void DoRMC(Session& s, const Fields& f);
void DoVTG(Session& s, const Fields& f);
void DoZDA(Session& s, const Fields& f);

// Heading, depth, water, wind and rudder sentences (any talker).
void DoHDT(Session& s, const Fields& f);
void DoHDG(Session& s, const Fields& f);
void DoHDM(Session& s, const Fields& f);
void DoDepthBelow(Session& s, const Fields& f, char letter);
void DoDPT(Session& s, const Fields& f);
void DoMWV(Session& s, const Fields& f);
void DoROT(Session& s, const Fields& f);
void DoRSA(Session& s, const Fields& f);
void DoVBW(Session& s, const Fields& f);
void DoVHW(Session& s, const Fields& f);
void DoVLW(Session& s, const Fields& f);
void DoMLS(Session& s, const Fields& f);

// Alarm and proprietary sentences.
void DoALR(Session& s, const Fields& f);
void DoFEC(Session& s, const Fields& f);

}  // namespace brenvik
