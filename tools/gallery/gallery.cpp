// gallery: every screen of the game, rendered headless from the tour's input (screen_tour.h).
//
//   gallery OUT                  each screen as OUT/NN-name.png and all of them, captioned, on the
//                                contact sheet OUT/gallery.png
//   gallery --compare REFS OUT   the same, and each screen held against REFS/NN-name.png: a screen
//                                that differs is named, with a difference image OUT/NN-name-diff.png
//   gallery --update REFS        the screens written into REFS: the references refreshed after an
//                                intended change
//
// Exit code 0 when every screen was reached, written and (with --compare) equal to its reference;
// 1 otherwise, with the reason on standard error; 2 for a bad command line.
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "game/game_program.h"
#include "shell/application.h"
#include "shell/shell_display_host.h"
#include "tools/gallery/contact_sheet.h"
#include "tools/gallery/screen_comparison.h"
#include "tools/gallery/screen_tour.h"

namespace {

using namespace qn;
using namespace qn::gallery;

constexpr int kFailed = 1, kBadUsage = 2;

struct Request {
  std::string out;         // where the screens go
  std::string references;  // --compare: the folder of reference images
  bool update = false;     // --update: `out` is the reference folder; no contact sheet
};

std::optional<Request> parse(int argc, char** argv) {
  const std::vector<std::string> words(argv + 1, argv + argc);
  if (words.size() == 1 && words[0][0] != '-') return Request{words[0], "", false};
  if (words.size() == 3 && words[0] == "--compare") return Request{words[2], words[1], false};
  if (words.size() == 2 && words[0] == "--update") return Request{words[1], "", true};
  return std::nullopt;
}

RgbaImage screenOf(const Application& application) {
  RgbaImage image;
  image.width = kScreenWidth;
  image.height = kScreenHeight;
  image.pixels = application.displayHost()->screen().toRgba();
  return image;
}

// Plays the tour; the screens it reached, by their place in kScreens.
std::vector<std::optional<RgbaImage>> playTour(bool& complete) {
  std::vector<std::optional<RgbaImage>> screens(kScreens.size());
  ShellOptions options;
  options.headless = true;
  Application application(options, "boules");
  complete = false;
  if (std::optional<int> ended = application.start(game::makeGameProgram)) {
    std::fprintf(stderr, "gallery: the game did not start (exit code %d)\n", *ended);
    application.shutdown();
    return screens;
  }
  ScreenTour tour;
  bool running = true;
  while (running && !tour.finished()) {
    const ScreenTour::Moment moment = tour.between(*application.movie());
    for (Screen screen : moment.screens) screens[static_cast<size_t>(screen)] = screenOf(application);
    if (moment.input) application.input(*moment.input);
    running = application.turn();
  }
  const uint32_t frames = application.framesTicked();
  const int exitCode = application.shutdown();
  if (!tour.failure().empty()) std::fprintf(stderr, "gallery: %s\n", tour.failure().c_str());
  if (!running && tour.failure().empty()) std::fprintf(stderr, "gallery: the game ended before the tour\n");
  for (Screen screen : tour.screensNotTaken())
    std::fprintf(stderr, "gallery: the moment of %s (%s) never came\n", infoOf(screen).name, infoOf(screen).caption);
  std::printf("gallery: the tour played %u frames\n", frames);
  complete = tour.finished() && tour.failure().empty() && tour.screensNotTaken().empty() && exitCode == 0;
  return screens;
}

bool write(const std::string& path, const RgbaImage& image) {
  std::string problem;
  if (writePng(path, image, problem)) return true;
  std::fprintf(stderr, "gallery: %s\n", problem.c_str());
  return false;
}

// False when the screen differs from its reference or has none.
bool matchesReference(const Request& request, const ScreenInfo& info, const RgbaImage& screen) {
  const std::string referencePath = request.references + "/" + info.name + ".png";
  RgbaImage reference;
  std::string problem;
  if (!readPng(referencePath, reference, problem)) {
    std::fprintf(stderr, "gallery: %s (%s) has no reference: %s\n", info.name, info.caption, problem.c_str());
    return false;
  }
  const Comparison comparison = compareWithReference(reference, screen);
  if (comparison.differingPixels == 0) return true;
  const std::string differencePath = request.out + "/" + info.name + "-diff.png";
  write(differencePath, comparison.difference);
  std::fprintf(stderr, "gallery: %s (%s) differs from its reference in %lld pixels; difference image: %s\n",
               info.name, info.caption, static_cast<long long>(comparison.differingPixels), differencePath.c_str());
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  const std::optional<Request> request = parse(argc, argv);
  if (!request) {
    std::fputs("usage: gallery OUT | gallery --compare REFERENCES OUT | gallery --update REFERENCES\n", stderr);
    return kBadUsage;
  }
  std::error_code error;
  std::filesystem::create_directories(request->out, error);
  if (error) {
    std::fprintf(stderr, "gallery: cannot create %s: %s\n", request->out.c_str(), error.message().c_str());
    return kFailed;
  }
  bool ok = true;
  const std::vector<std::optional<RgbaImage>> screens = playTour(ok);
  std::vector<SheetEntry> sheet;
  for (const ScreenInfo& info : kScreens) {
    const std::optional<RgbaImage>& screen = screens[static_cast<size_t>(info.screen)];
    sheet.push_back({screen ? &*screen : nullptr, std::string(info.name).substr(0, 2) + "  " + info.caption});
    if (!screen) continue;
    ok = write(request->out + "/" + info.name + ".png", *screen) && ok;
    if (!request->references.empty()) ok = matchesReference(*request, info, *screen) && ok;
  }
  if (!request->update) ok = write(request->out + "/gallery.png", contactSheet(sheet)) && ok;
  return ok ? 0 : kFailed;
}
