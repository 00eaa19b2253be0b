// What start-up settles, as one value: the options, the file specifications
// and the looks, in one storage. The run reads them only through the const
// views below; the storage's fields are private, and the writers live in
// StartupWriters.h, which only start-up code includes.
#pragma once

#include "RunValues/SettledRecords.h"

class SettledValues {
 public:
  SettledValues() = default;
  SettledValues(const SettledValues&) = delete;
  SettledValues& operator=(const SettledValues&) = delete;

  constexpr const OptionsRec& OptionsView() const { return options_; }
  constexpr const RunSpecRec& RunSpecView() const { return runSpec_; }
  constexpr const LooksRec& LooksView() const { return looks_; }

 private:
  OptionsRec options_;
  RunSpecRec runSpec_;
  LooksRec looks_;
  friend struct StartupWriters;
};

extern SettledValues Settled;  // written only through StartupWriters.h
// Constant addresses: reading a setting costs no indirection.
inline constexpr const OptionsRec& Options = Settled.OptionsView();
inline constexpr const RunSpecRec& RunSpec = Settled.RunSpecView();
inline constexpr const LooksRec& Looks = Settled.LooksView();
