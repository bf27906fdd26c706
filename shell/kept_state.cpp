#include "shell/kept_state.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>

#include "game/results.h"
#include "platform/kept_text.h"
#include "script/report_error.h"

namespace qn {

namespace {

constexpr std::string_view kHeading = "boules kept state 1";

bool isDay(std::string_view text) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return false;
  for (size_t i : {0, 1, 2, 3, 5, 6, 8, 9})
    if (text[i] < '0' || text[i] > '9') return false;
  return true;
}

// A distance the game can have measured: finite, from 0 up to no record at all.
std::optional<double> distanceOf(std::string_view text) {
  const std::string copy(text);
  char* end = nullptr;
  const double distance = std::strtod(copy.c_str(), &end);
  if (copy.empty() || end != copy.c_str() + copy.size() || !std::isfinite(distance) || distance < 0 ||
      distance >= game::kNoDistance)
    return std::nullopt;
  return distance;
}

// Whether `kept` holds a better record than `other`: of a later day, or of the same day and
// closer. Every store keeps the better of the two, so that runs storing at once agree.
bool betterRecord(const KeptValues& kept, const KeptValues& other) {
  if (!kept.record) return false;
  if (!other.record) return true;
  if (kept.day != other.day) return kept.day > other.day;
  return kept.record->distance < other.record->distance;
}

// `values` with `kept`'s record in place of its own when that is better.
void keepBetterRecord(KeptValues& values, const KeptValues& kept) {
  if (!betterRecord(kept, values)) return;
  values.day = kept.day;
  values.record = kept.record;
}

}  // namespace

std::optional<KeptValues> parseKeptState(std::string_view text, std::string& problem) {
  KeptValues values;
  bool headed = false;
  int number = 0;
  while (!text.empty()) {
    ++number;
    const size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    auto refuse = [&](std::string_view why) {
      problem = "line " + std::to_string(number) + ": " + std::string(why);
      return std::nullopt;
    };
    if (!headed) {
      if (line != kHeading) return refuse("not a kept state");
      headed = true;
      continue;
    }
    const size_t space = line.find(' ');
    const std::string_view key = line.substr(0, space);
    const std::string_view value = space == std::string_view::npos ? std::string_view() : line.substr(space + 1);
    if (key == "day") {
      if (!isDay(value)) return refuse("a day is YYYY-MM-DD");
      values.day = value;
    } else if (key == "record") {
      const size_t gap = value.find(' ');
      const std::optional<double> distance = distanceOf(value.substr(0, gap));
      if (!distance || gap == std::string_view::npos || gap + 1 == value.size())
        return refuse("a record is a distance and a name");
      values.record = game::TodaysRecord{std::string(value.substr(gap + 1)), *distance};
    } else if (key == "muted") {
      if (value != "0" && value != "1") return refuse("muted is 0 or 1");
      values.muted = value == "1";
    } else if (!line.empty()) {
      return refuse("unknown line");
    }
  }
  if (!headed) {
    problem = "empty";
    return std::nullopt;
  }
  if (values.record.has_value() != !values.day.empty()) {
    problem = "a record needs its day";
    return std::nullopt;
  }
  return values;
}

std::string formatKeptState(const KeptValues& values) {
  std::string text(kHeading);
  text += '\n';
  if (values.record) {
    char distance[32];
    std::snprintf(distance, sizeof distance, "%.17g", values.record->distance);
    std::string name = values.record->name;
    for (char& c : name)
      if (c == '\n' || c == '\r') c = ' ';
    text += "day " + values.day + "\nrecord " + distance + " " + name + "\n";
  }
  text += values.muted ? "muted 1\n" : "muted 0\n";
  return text;
}

std::string localDate() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char day[16];
  std::strftime(day, sizeof day, "%Y-%m-%d", &local);
  return day;
}

namespace {

// What is kept under `name`; nothing (said in the debug log) when it cannot be read or is damaged.
std::optional<KeptValues> readKept(std::string_view name) {
  const platform::KeptTextRead read = platform::readKeptText(name);
  std::string problem = read.problem;
  std::optional<KeptValues> values;
  if (read.text) values = parseKeptState(*read.text, problem);
  if (!problem.empty()) reportError("kept state ignored: " + problem);
  return values;
}

}  // namespace

KeptState::KeptState(std::string name, std::function<std::string()> today)
    : name_(std::move(name)), today_(std::move(today)) {
  platform::clearStaleKeptTexts(name_);
  if (std::optional<KeptValues> kept = readKept(name_)) values_ = std::move(*kept);
  if (values_.day != today_()) {
    values_.day.clear();
    values_.record.reset();
  }
}

void KeptState::setMuted(bool muted) {
  values_.muted = muted;
  store([muted](KeptValues& values) { values.muted = muted; });
}

void KeptState::todaysRecordImproved(const game::TodaysRecord& record) {
  values_.day = today_();
  values_.record = record;
  store([this](KeptValues& values) { keepBetterRecord(values, values_); });
}

void KeptState::storedElsewhere() {
  const std::optional<KeptValues> stored = readKept(name_);
  if (stored && betterRecord(values_, *stored)) store([this](KeptValues& values) { keepBetterRecord(values, values_); });
}

void KeptState::store(const std::function<void(KeptValues&)>& change) {
  const std::optional<KeptValues> kept = readKept(name_);
  KeptValues stored = kept.value_or(values_);
  change(stored);
  if (kept == stored) return;  // a start while muted, a record another run beat: nothing to write
  if (const std::string problem = platform::storeKeptText(name_, formatKeptState(stored)); !problem.empty())
    reportError("kept state not stored: " + problem);
}

}  // namespace qn
