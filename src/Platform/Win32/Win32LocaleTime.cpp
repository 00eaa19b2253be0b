// Stamps to local calendar time, the clock, and the user's locale items.
#include <cstdlib>

#include "Platform/LocaleTime.h"
#include "Platform/Win32/Win32Common.h"

namespace Plat {

namespace {

bool SystemFileTimeToLocal(const FileTime& utc, FileTime& local) {
  const FILETIME in = ToFiletime(utc);
  FILETIME out;
  if (!FileTimeToLocalFileTime(&in, &out)) return false;
  local = FromFiletime(out);
  return true;
}

// The system shifts every stamp by today's bias, whatever the stamp's date, so
// it is asked once per run: under wine each call costs more than a date's text.
struct LocalBiasRec {
  bool Known = false;
  std::int64_t Ticks = 0;  // local less UTC, in 100 ns ticks
};
LocalBiasRec LocalBias;

constexpr std::uint64_t BiasReference = 0x01D0000000000000u;  // a stamp in 2015
constexpr std::uint64_t EdgeRoom = 0x0000100000000000u;       // about 200 days
constexpr std::uint64_t LastStamp = 0x7FFFFFFFFFFFFFFFu;

}  // namespace

bool FileTimeToLocal(const FileTime& utc, FileTime& local) {
  if (!LocalBias.Known) {
    FileTime shifted;
    if (!SystemFileTimeToLocal(FileTimeOfTicks(BiasReference), shifted))
      return SystemFileTimeToLocal(utc, local);
    LocalBias.Ticks = static_cast<std::int64_t>(TicksOf(shifted) - BiasReference);
    LocalBias.Known = true;
  }
  // Stamps near either end of the range keep the system's own handling.
  const std::uint64_t ticks = TicksOf(utc);
  if (ticks < EdgeRoom || ticks > LastStamp - EdgeRoom) return SystemFileTimeToLocal(utc, local);
  local = FileTimeOfTicks(ticks + static_cast<std::uint64_t>(LocalBias.Ticks));
  return true;
}

namespace {

CalendarTime FromSystemTime(const SYSTEMTIME& time) {
  CalendarTime calendar;
  calendar.Year = time.wYear;
  calendar.Month = time.wMonth;
  calendar.DayOfWeek = time.wDayOfWeek;
  calendar.Day = time.wDay;
  calendar.Hour = time.wHour;
  calendar.Minute = time.wMinute;
  calendar.Second = time.wSecond;
  calendar.Milliseconds = time.wMilliseconds;
  return calendar;
}

SYSTEMTIME ToSystemTime(const CalendarTime& calendar) {
  SYSTEMTIME time = {};
  time.wYear = static_cast<WORD>(calendar.Year);
  time.wMonth = static_cast<WORD>(calendar.Month);
  time.wDayOfWeek = static_cast<WORD>(calendar.DayOfWeek);
  time.wDay = static_cast<WORD>(calendar.Day);
  time.wHour = static_cast<WORD>(calendar.Hour);
  time.wMinute = static_cast<WORD>(calendar.Minute);
  time.wSecond = static_cast<WORD>(calendar.Second);
  time.wMilliseconds = static_cast<WORD>(calendar.Milliseconds);
  return time;
}

}  // namespace

bool FileTimeToCalendar(const FileTime& time, CalendarTime& calendar) {
  const FILETIME in = ToFiletime(time);
  SYSTEMTIME out;
  if (!FileTimeToSystemTime(&in, &out)) return false;
  calendar = FromSystemTime(out);
  return true;
}

CalendarTime LocalNow() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return FromSystemTime(now);
}

// ---------------------------------------------------------------- locale

namespace {

LCTYPE LocaleType(LocaleItem item) {
  const int index = static_cast<int>(item);
  auto offset = [index](LocaleItem first) { return index - static_cast<int>(first); };
  switch (item) {
    case LocaleItem::ShortDate: return LOCALE_SSHORTDATE;
    case LocaleItem::LongDate: return LOCALE_SLONGDATE;
    case LocaleItem::LongTime: return LOCALE_STIMEFORMAT;
    case LocaleItem::DateSeparator: return LOCALE_SDATE;
    case LocaleItem::TimeSeparator: return LOCALE_STIME;
    case LocaleItem::DateOrder: return LOCALE_IDATE;
    case LocaleItem::AmMarker: return LOCALE_S1159;
    case LocaleItem::PmMarker: return LOCALE_S2359;
    default: break;
  }
  // The day and month names are numbered consecutively in both lists.
  if (item <= LocaleItem::DayName7) return LOCALE_SDAYNAME1 + offset(LocaleItem::DayName1);
  if (item <= LocaleItem::AbbrevDayName7)
    return LOCALE_SABBREVDAYNAME1 + offset(LocaleItem::AbbrevDayName1);
  if (item <= LocaleItem::MonthName12) return LOCALE_SMONTHNAME1 + offset(LocaleItem::MonthName1);
  return LOCALE_SABBREVMONTHNAME1 + offset(LocaleItem::AbbrevMonthName1);
}

// GetDateFormatW with a picture of its own, e.g. "g" for the era.
std::string DatePicture(const CalendarTime& date, const wchar_t* picture) {
  const SYSTEMTIME time = ToSystemTime(date);
  wchar_t text[80] = {};
  const int length = GetDateFormatW(LOCALE_USER_DEFAULT, 0, &time, picture, text, 80);
  return length > 0 ? FromWide(text) : std::string();
}

}  // namespace

std::string LocaleInfo(LocaleItem item) {
  wchar_t text[256] = {};
  const int length = GetLocaleInfoW(LOCALE_USER_DEFAULT, LocaleType(item), text, 256);
  return length > 0 ? FromWide(text) : std::string();
}

std::string EraName(const CalendarTime& date) { return DatePicture(date, L"g"); }

int EraYear(const CalendarTime& date) {
  const std::string year = DatePicture(date, L"yyyy");
  return year.empty() ? date.Year : std::atoi(year.c_str());
}

}  // namespace Plat
