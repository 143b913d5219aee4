#pragma once
// The in-memory model of the open meet: one list per table or join, each
// rebuilt whole by its loader in the loader's order, and the meet globals.
// Every read or change of the model holds DataLock (database/data_lock.h).
// A pointer into a list stays valid until that list is next rebuilt or
// changed.
#include <array>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

namespace korva {

// A result in its unit's storage scale; kNoResult means no valid result.
using ScoreValue = int;
constexpr ScoreValue kNoResult = -65535;
// Points in hundredths of a point.
using PointsValue = int;

// Roles of accounts and web sessions.
enum UserRole { kRoleNone = 0, kRoleClassTeacher = 1, kRolePrintAdmin = 6, kRoleScoreClerk = 7, kRoleAdmin = 8 };

// Byte limits (GBK) of the stored texts, kept where text enters the program.
constexpr std::size_t kClassTextBytes = 50;     // grade, short and class names, start numbers
constexpr std::size_t kAccountTextBytes = 100;  // leader, coach, password
constexpr std::size_t kNameBytes = 100;         // event, venue, scheme, meet names
constexpr std::size_t kUnitBytes = 52;
constexpr std::size_t kVenueDescriptionBytes = 200;
constexpr std::size_t kAthleteNameBytes = 52;
constexpr std::size_t kPathBytes = 260;
constexpr int kMaxCombinedParts = 30;
constexpr int kMaxGroupEvents = 100;
constexpr int kMaxAthleteEntries = 30;
constexpr int kVenueLaneSlots = 50;
constexpr int kSchemePlaces = 20;

struct ClassNode {
  int GradeId = 0;          // qrtb220
  int ClassId = 0;          // qrtb235
  int ClassNumber = 0;      // qrtb237
  std::string GradeName;    // qrtb221
  std::string GradeShortName;  // qrtb222
  std::string ClassName;    // qrtb238
  std::string BoyStartNumber;   // qrtb239, digits or empty
  std::string GirlStartNumber;  // qrtb240, digits or empty
  std::string LeaderName;   // qrtb12 of the class-teacher account
  std::string CoachName;    // qrtb11
  std::string Password;     // qrtb10
};

struct EventNode {
  int Id = 0;               // qrtb307
  std::string Name;         // qrtb308
  int BiSaiType = 1;        // qrtb309: 1 track, 2 field, 3 combined
  int YuJueType = 0;        // qrtb312: 0 direct final, 1 preliminaries then final
  int TuanTiType = 1;       // qrtb310: 1 individual, 2 team, 3 mixed team
  int TuanTiRenShu = 1;     // qrtb311: team size
  int FZFDType = 1;         // qrtb313: 1 lanes, 2 groups
  int JiLuBiaoType = 1;     // qrtb314: record sheet kind 1..4
  int PaiXuType = 1;        // qrtb315: 1 smaller first, 2 larger first
  int BingLieType = 1;      // qrtb316: 1 ties allowed, 2 not allowed
  std::string Unit;         // qrtb318, one of UnitNames
  int ChangDi = 0;          // qrtb317: venue id
  int DeFenJiSuan = 1;      // qrtb319: 1 normal, 2 double points
  int MatchTime = 0;        // qrtb320: minutes per heat (track) or athlete (field)
  std::string BoyGS;        // qrtb321
  std::string GirlGS;       // qrtb322
  std::vector<int> Parts;   // part event ids of a combined event, ascending (at most 30)
};

struct VenueNode {
  int Id = 0;               // qrtb124; 1 to 3 are the built-in tracks
  std::string Name;         // qrtb126
  int Size = 0;             // qrtb125: lanes of a track, places of a field venue
  std::array<int, kVenueLaneSlots> LanesInUse{};  // lane numbers in use, the rest 0
  std::string Unit;         // qrtb127
  std::string Description;  // qrtb128
};

struct ScoringSchemeNode {
  int Id = 0;               // qrtb81
  std::string Name;         // qrtb82
  int PlacesScored = 0;     // qrtb83
  std::array<int, kSchemePlaces> Points{};  // qrtb84..qrtb103, points of places 1..20
};

struct GroupNode {
  int Id = 0;               // qrtb374
  int GradeId = 0;          // qrtb375
  std::string GradeName;    // qrtb221
  int Sex = 1;              // qrtb376: 1 boys, 2 girls
  int AthletesPerClass = 0; // qrtb377
  int EventsPerAthlete = 0; // qrtb379: individual events per athlete
  int EntrantsPerEvent = 0; // qrtb378: entrants per event from one class
  int CombinedLimit = 0;    // qrtb380
  int PlacesRanked = 0;     // qrtb381
  int SchemeId = 0;         // qrtb382
  std::array<int, 3> Bonus{};  // by record flag: 0, qrtb383 (equalled), qrtb386 (broken)
};

struct GroupEventNode {
  int GroupId = 0;
  std::vector<int> EventIds;  // qrtb470 of the group's qrtb467 rows, ascending (at most 100)
};

struct ContestNode {
  int Id = 0;               // qrtb426
  int GroupId = 0;          // qrtb427
  int EventId = 0;          // qrtb428
  int HasPrelim = 0;        // qrtb429
  int Qualifiers = 0;       // qrtb430
  int Places = 0;           // qrtb431
  int SchemeId = 0;         // qrtb436, 0 = the group's scheme
};

// Round kinds.
enum RoundKind { kPrelim = 1, kFinalAfterPrelim = 2, kDirectFinal = 3 };

struct RoundNode {
  int Id = 0;               // qrtb445
  int ContestId = 0;        // qrtb446
  int Kind = kDirectFinal;  // qrtb447
  int Disabled = 0;         // qrtb448: 1 = preliminary found unnecessary by the draw
  int Order = 0;            // qrtb450: order within its session, 0 = none
  int Duration = 0;         // qrtb451: minutes, 0 = not set
  int Session = 0;          // qrtb449: half-day session, 0 = not scheduled
  int Entrants = 0;         // qrtb452
  int Places = 0;           // qrtb453: qualifiers or places
  int PartEventId = 0;      // qrtb454, 0 = the contest's own event
  int CertificatePrints = 0;  // qrtb455
  int CheckInPrints = 0;    // qrtb456
  int ResultPrints = 0;     // qrtb457
  int CompletionStamp = 0;  // qrtb458: MMDDhhmm of the counting, 0 = not counted
};

struct AthleteNode {
  int Ordinal = 0;          // position in the loaded list, from 1
  int Id = 0;               // qrtb411
  int Bib = 0;              // qrtb412, 0 = none
  std::string BibText;      // "%03d" or "%04d" after BibWidth, empty when none
  std::string Name;         // qrtb410
  int GradeId = 0;          // qrtb413
  int ClassId = 0;          // qrtb414
  int Sex = 1;              // qrtb415
  int Reserved = 0;         // qrtb416
  std::vector<int> ContestIds;  // qrtb399 of the athlete's qrtb397 rows (at most 30)
};

struct LaneNode {
  int Key = 0;              // working key: 0 when loaded; the draw keeps a class id here
  int Id = 0;               // qrtb480
  int RoundId = 0;          // qrtb481
  int Heat = 0;             // qrtb482, from 1
  int Lane = 0;             // qrtb483, from 1; 0 = not drawn
  int AthleteId = 0;        // qrtb484
  int ClassId = 0;          // the athlete's class id, 0 when the athlete is missing
  ScoreValue Result = kNoResult;  // qrtb485
  int Status = 0;           // qrtb486: 0 normal, above 0 no valid result
  int Place = 0;            // qrtb487: 0 none, 999 qualifier of a preliminary
  PointsValue Points = 0;   // qrtb488
  int RecordFlag = 0;       // qrtb489: 0 none, 1 equalled, 2 broken
};

struct AthleteAuxNode {
  int AthleteId = 0;        // qrtb500
};

struct DocumentNode {
  int Id = 0;               // qrtb519
  int Kind = 0;             // qrtb520: 1 order book
  std::string TimeText;     // qrtb522
  std::string FilePath;     // qrtb523, relative to DataFolder
  int Downloads = 0;        // qrtb521
};

struct RecordNode {
  int Id = 0;               // qrtb189
  int InsertFlag = 0;       // qrtb190
  int Sex = 1;              // qrtb192
  std::string EventName;    // qrtb193
  std::string GroupName;    // qrtb191
  std::string MeetName;     // qrtb209
  int RoundKind = 0;        // qrtb210
  int EventType = 0;        // qrtb194
  int TeamType = 0;         // qrtb195
  ScoreValue Value = kNoResult;   // qrtb196
  ScoreValue Value2 = kNoResult;  // qrtb197
  ScoreValue Value3 = kNoResult;  // qrtb198
  std::string HolderName;   // qrtb199
  std::string ClassName;    // qrtb202
  std::string DateText;     // qrtb205
  std::string UnitText;     // qrtb208
};

// One row of a counted round's result table, as it stood when the round
// was counted.
struct ResultTableRow {
  std::string BibText;     // empty for a team
  std::string Name;        // empty for a team
  std::string ClassName;
  ScoreValue Result = kNoResult;
  int Place = 0;
  PointsValue Points = 0;
  int RecordFlag = 0;

  bool operator==(const ResultTableRow&) const = default;
};

// Text derived from a node and kept with it: copied along, never part of
// the node's value.
struct CachedMarkup {
  std::shared_ptr<const std::string> Text;

  bool operator==(const CachedMarkup&) const { return true; }
};

// One counted round's result table, waiting in the print queue for the
// print centre and the results board.
struct ResultPrintItem {
  int Sequence = 0;          // arrival number: the head holds the highest
  int RoundId = 0;
  int EventType = 0;         // BiSaiType of the round's event
  int RoundKind = 0;
  int GradeId = 0;           // of the round's group; the results board filters on it
  int CompletionStamp = 0;   // the round's qrtb458
  int ResultPrints = 0;      // result sheets printed from the print centre
  int CertificatePrints = 0; // certificates printed from the print centre
  std::string Title;         // "grade sex team event kind", plain text
  // The result table: in a preliminary the athletes in the final (by
  // result), in other rounds the placed ones (by place); no rows when none
  // is taken or an athlete or a class is missing.
  std::vector<ResultTableRow> ResultRows;
  std::string Unit;          // the event's unit
  bool Individual = true;    // rows are athletes, not teams
  int Refresh = 0;           // 1 makes the results board reload the whole page
  // The results board's markup of the table, built by the first poll that
  // shows it. An entry's table never changes (a round counted again comes as
  // a new entry), so the text stays true for the entry's life.
  CachedMarkup TableMarkup;

  bool operator==(const ResultPrintItem&) const = default;
};

// A grade of LoadGradeOptions.
struct GradeOption {
  int GradeId = 0;
  std::string GradeName;
};

// The organiser's name until the school gives its own (--organiser).
inline constexpr const char* kDefaultOrganiserName = "QV网络";

struct MeetModel {
  std::vector<ClassNode> ClassList;
  std::vector<EventNode> EventList;
  std::vector<VenueNode> VenueList;
  std::vector<ScoringSchemeNode> ScoringSchemeList;
  std::vector<GroupNode> GroupList;
  std::vector<GroupEventNode> GroupEventList;
  std::vector<ContestNode> ContestList;
  std::vector<RoundNode> RoundList;
  // Ordered by grade id, then class id (the loader's order; a new athlete is
  // inserted after the last of its class), so a class's athletes are one run
  // (ClassAthletes).
  std::vector<AthleteNode> AthleteList;
  std::vector<LaneNode> LaneList;
  std::vector<AthleteAuxNode> AthleteAuxList;
  std::vector<DocumentNode> DocumentList;
  std::vector<RecordNode> RecordList;
  std::vector<ResultPrintItem> PrintQueue;  // newest first
  // The highest sequence number the print queue gave out (qrtb337 of the
  // settings row): a results board holds the newest number it has seen, so
  // no number is given out twice, not even after a restart.
  int PrintQueueTop = 0;

  int CurrentMeetId = 0;      // 0 while no meet is open
  std::string MeetName;
  std::string OrganiserName = kDefaultOrganiserName;
  int MeetStage = 0;
  int RegistrationClosed = 1;
  int AdmitOneLess = 0;
  int BibWidth = 3;
  std::time_t MeetStartTime = 0;
  int MeetSessionCount = 0;
  int MorningStart = 0;
  int AfternoonStart = 0;
  int OpeningCeremonySlot = 0;
  std::string DataFolder;     // no trailing slash
  std::string MeetFilePath;   // empty while no meet is open
};

// The one model of the process; on a thread that reads a private copy
// (PrivateModel, database/lookups.h), that copy.
MeetModel& Model();

// The copy the calling thread reads in place of the model, or nullptr.
MeetModel* ThreadModel();
void SetThreadModel(MeetModel* model);

// The seven unit names, index 0 to 6: 秒, 分, 时, 厘米, 米, 个, 千克.
extern const char* const UnitNames[7];

}  // namespace korva
