#pragma once
// Certificates (奖状) on 16k paper: seven positioned lines whose classes
// jzline1 to jzline7 the print style sheet "/view.css" places per account.
// The caller holds DataLock; texts are GBK and every data value is escaped
// here.
#include <ctime>
#include <span>
#include <string>
#include <string_view>

#include "database/model.h"

namespace korva {

// The six varying lines of a certificate, as HTML (line 5 is fixed).
struct CertificateLines {
  std::string Pupil;      // line 1: class and pupil, or the class of a team
  std::string Meet;       // line 2: organiser and meet
  std::string Event;      // line 3: "荣获 grade sex event 比赛"
  std::string Place;      // line 4
  std::string Organiser;  // line 6
  std::string Date;       // line 7
};

// Line 2: "在" organiser " " meet "中" centred with "&nbsp;" pads,
// (39 - both lengths) / 2 on each side; when organiser and meet together
// pass 40 bytes the organiser is left out and the meet gets
// (40 - its length) / 2 pads (none from 40 bytes on).
std::string FormatCertificateMeetLine(std::string_view organiser, std::string_view meet);

// "%d年%d月%d日" of the local date at when.
std::string FormatCertificateDate(std::time_t when);

// Appends one certificate; the first of a print job (first_done 0) without
// a page break before it, every later one with it. Sets first_done to 1.
void BuildCertificateBlock(const CertificateLines& lines, std::string& out, int& first_done);

// Appends one certificate per placed entry of the round (a team once), in
// ascending order of the stored result; stops at an entry whose athlete or
// class is missing. Nothing for a round without places.
void BuildRoundCertificates(std::span<const LaneNode> lanes, std::string& out, const EventNode& event,
                            const GroupNode& group);

// Appends the certificate of one result (place written
// "第&nbsp;&nbsp;二&nbsp;&nbsp;名"); nothing when its athlete or class is
// missing. The caller passes one first_done for a whole print job.
void BuildCertificateText(int& first_done, const EventNode& event, std::string& out, const LaneNode& lane,
                          const GroupNode& group);

// Appends the on-screen layout preview: the move buttons of every line
// (MoveZjDiv in af.js) and the seven lines with the ids jzdiv1 .. jzdiv7.
void BuildCertificatePreview(std::string& out, const CertificateLines& lines);

}  // namespace korva
