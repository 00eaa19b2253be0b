// Base fixture for unit tests: a fresh simulated world and fresh program state
// for every test.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RunValues/RunEnd.h"
#include "Console/Console.h"
#include "Platform/Sim/SimPlatform.h"
#include "SimulatedWorld.h"

class TestWorld : public ::testing::Test {
 protected:
  void SetUp() override { ResetWorld(); }
};

// count copies of a piece of text, one after the other.
inline std::string Repeat(const std::string& piece, int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += piece;
  return text;
}

// Local calendar fields of a moment (for the clock and for date-time values).
inline Plat::CalendarTime Moment(int year, int month, int day, int hour = 0, int minute = 0,
                                 int second = 0) {
  Plat::CalendarTime c;
  c.Year = year;
  c.Month = month;
  c.Day = day;
  c.Hour = hour;
  c.Minute = minute;
  c.Second = second;
  return c;
}

// Runs a callable that is expected to end the program; true when it did.
template <typename F>
bool EndsProgram(F&& action) {
  try {
    action();
  } catch (const ProgramEnded&) {
    return true;
  } catch (const Sim::ProcessExited&) {
    return true;
  }
  return false;
}
