// gallery: every screen of the game, rendered headless from the tour's input (screen_tour.h): at
// the screen's own size, and composed at the presentation scales 2 and 4.
//
//   gallery OUT                  each screen as OUT/NN-name.png, OUT/2x/NN-name.png and
//                                OUT/4x/NN-name.png, and the contact sheets: OUT/gallery.png of
//                                the whole screens, OUT/2x/gallery.png and OUT/4x/gallery.png of
//                                a detail of each screen, pixel for pixel
//   gallery --compare REFS OUT   each screen held against its reference, REFS/NN-name.png,
//                                REFS/2x/NN-name.png, REFS/4x/NN-name.png: a screen that differs
//                                is named, and only its difference image written (OUT/NN-name-diff.png,
//                                OUT/2x/...); each finer screen shrunk to the screen's size must be
//                                close to the screen (screen_comparison.h), and the 4x screen as
//                                the frames built it must equal the stage composed whole at 4x
//   gallery --update REFS        the screens and the finer contact sheets written into REFS: the
//                                references refreshed after an intended change
//   gallery --own-size ...       any of these at the screen's own size only (the sanitizer build's
//                                test: composing at 4x there costs minutes)
//
// The tour plays once, composing at 4x as a window would; the 2x screens are composed whole at
// each screen's moment.
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

// The scales every screen is taken at, the screen's own first; the tour composes at the last.
using Scales = std::vector<int32_t>;
const Scales kAllScales = {1, 2, 4};

struct Request {
  std::string out;         // where the screens go
  std::string references;  // --compare: the folder of reference images
  bool update = false;     // --update: `out` is the reference folder
  Scales scales = kAllScales;
};

std::optional<Request> parse(int argc, char** argv) {
  std::vector<std::string> words(argv + 1, argv + argc);
  const bool ownSize = !words.empty() && words[0] == "--own-size";
  if (ownSize) words.erase(words.begin());
  std::optional<Request> request;
  if (words.size() == 1 && words[0][0] != '-') request = Request{words[0], "", false};
  if (words.size() == 3 && words[0] == "--compare") request = Request{words[2], words[1], false};
  if (words.size() == 2 && words[0] == "--update") request = Request{words[1], "", true};
  if (request && ownSize) request->scales = {1};
  return request;
}

// The folder of a scale's screens under `root`: the root itself for the screen's own size.
std::string folderOf(const std::string& root, int32_t scale) {
  return scale == 1 ? root : root + "/" + std::to_string(scale) + "x";
}

RgbaImage rgbaOf(const ScreenBuffer& screen) {
  RgbaImage image;
  image.width = screen.width();
  image.height = screen.height();
  image.pixels = screen.toRgba();
  return image;
}

// The whole stage composed now at `scale`, as the screen that large would show it.
RgbaImage composedAt(const Application& application, int32_t scale) {
  Movie& movie = *application.movie();
  ScreenBuffer screen(application.displayHost()->screen().format(), scale);
  const Value image = movie.composeStageAt(scale);
  if (const ImageBuffer* composed = imageBufferOf(image))
    screen.present(*composed, {0, 0, screen.width(), screen.height()}, movie.orientation());
  return rgbaOf(screen);
}

// A screen at every scale, in the order of the scales.
using Shots = std::vector<RgbaImage>;

struct Tour {
  std::vector<std::optional<Shots>> screens = std::vector<std::optional<Shots>>(kScreens.size());
  // Screens whose 4x picture, as the frames built it, differs from the stage composed whole.
  std::vector<std::string> unlikeWhole;
  bool complete = false;
};

// Plays the tour; the screens it reached, by their place in kScreens.
Tour playTour(const Scales& scales) {
  Tour tour;
  ShellOptions options;
  options.headless = true;
  options.scale = scales.back();
  Application application(options, "boules");
  if (std::optional<int> ended = application.start(game::makeGameProgram)) {
    std::fprintf(stderr, "gallery: the game did not start (exit code %d)\n", *ended);
    application.shutdown();
    return tour;
  }
  ScreenTour steps;
  bool running = true;
  while (running && !steps.finished()) {
    const ScreenTour::Moment moment = steps.between(*application.movie());
    for (Screen screen : moment.screens) {
      Shots shots{rgbaOf(application.displayHost()->screen())};
      for (size_t i = 1; i + 1 < scales.size(); ++i) shots.push_back(composedAt(application, scales[i]));
      if (scales.size() > 1) {
        shots.push_back(rgbaOf(application.displayHost()->shownScreen()));
        if (compareWithReference(shots.back(), composedAt(application, scales.back())).differingPixels != 0)
          tour.unlikeWhole.push_back(infoOf(screen).name);
      }
      tour.screens[static_cast<size_t>(screen)] = std::move(shots);
    }
    if (moment.input) application.input(*moment.input);
    running = application.turn();
  }
  const uint32_t frames = application.framesTicked();
  const int exitCode = application.shutdown();
  if (!steps.failure().empty()) std::fprintf(stderr, "gallery: %s\n", steps.failure().c_str());
  if (!running && steps.failure().empty()) std::fprintf(stderr, "gallery: the game ended before the tour\n");
  for (Screen screen : steps.screensNotTaken())
    std::fprintf(stderr, "gallery: the moment of %s (%s) never came\n", infoOf(screen).name, infoOf(screen).caption);
  std::printf("gallery: the tour played %u frames\n", frames);
  tour.complete = steps.finished() && steps.failure().empty() && steps.screensNotTaken().empty() && exitCode == 0;
  return tour;
}

bool write(const std::string& path, const RgbaImage& image) {
  std::string problem;
  if (writePng(path, image, problem)) return true;
  std::fprintf(stderr, "gallery: %s\n", problem.c_str());
  return false;
}

// False when the screen differs from its reference or has none.
bool matchesReference(const std::string& references, const std::string& out, const ScreenInfo& info,
                      const RgbaImage& screen) {
  const std::string referencePath = references + "/" + info.name + ".png";
  RgbaImage reference;
  std::string problem;
  if (!readPng(referencePath, reference, problem)) {
    std::fprintf(stderr, "gallery: %s (%s) has no reference: %s\n", info.name, info.caption, problem.c_str());
    return false;
  }
  const Comparison comparison = compareWithReference(reference, screen);
  if (comparison.differingPixels == 0) return true;
  const std::string differencePath = out + "/" + info.name + "-diff.png";
  write(differencePath, comparison.difference);
  std::fprintf(stderr, "gallery: %s (%s) differs from its reference %s in %lld pixels; difference image: %s\n",
               info.name, info.caption, referencePath.c_str(), static_cast<long long>(comparison.differingPixels),
               differencePath.c_str());
  return false;
}

// False when the finer screen, shrunk to the screen's size, is not close to it.
bool closeToScreen(const ScreenInfo& info, const RgbaImage& screen, const RgbaImage& finer, int32_t scale) {
  const Closeness closeness = closenessAfterShrinking(screen, finer, scale);
  if (closeness.close()) return true;
  std::fprintf(stderr, "gallery: %s (%s) at %dx, shrunk to the screen's size, is not close to the screen: %s\n",
               info.name, info.caption, scale, closeness.describe().c_str());
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  const std::optional<Request> request = parse(argc, argv);
  if (!request) {
    std::fputs("usage: gallery [--own-size] OUT | gallery [--own-size] --compare REFERENCES OUT\n"
               "       gallery [--own-size] --update REFERENCES\n",
               stderr);
    return kBadUsage;
  }
  const Scales& scales = request->scales;
  for (int32_t scale : scales) {
    std::error_code error;
    std::filesystem::create_directories(folderOf(request->out, scale), error);
    if (error) {
      std::fprintf(stderr, "gallery: cannot create %s: %s\n", folderOf(request->out, scale).c_str(),
                   error.message().c_str());
      return kFailed;
    }
  }
  const Tour tour = playTour(scales);
  bool ok = tour.complete;
  const bool comparing = !request->references.empty();
  for (const std::string& name : tour.unlikeWhole) {
    std::fprintf(stderr, "gallery: %s at %dx as the frames built it differs from the stage composed whole\n",
                 name.c_str(), scales.back());
    if (comparing) ok = false;
  }
  for (size_t i = 0; i < scales.size(); ++i) {
    const std::string folder = folderOf(request->out, scales[i]);
    std::vector<SheetEntry> sheet;
    for (const ScreenInfo& info : kScreens) {
      const std::optional<Shots>& shots = tour.screens[static_cast<size_t>(info.screen)];
      sheet.push_back({shots ? &(*shots)[i] : nullptr, std::string(info.name).substr(0, 2) + "  " + info.caption,
                       info.detailX, info.detailY});
      if (!shots) continue;
      if (!comparing) ok = write(folder + "/" + info.name + ".png", (*shots)[i]) && ok;
      if (comparing) ok = matchesReference(folderOf(request->references, scales[i]), folder, info, (*shots)[i]) && ok;
      if (comparing && i > 0) ok = closeToScreen(info, (*shots)[0], (*shots)[i], scales[i]) && ok;
    }
    // The references keep the finer contact sheets, which the README shows.
    if ((!request->update && !comparing) || (request->update && i > 0))
      ok = write(folder + "/gallery.png", contactSheet(sheet)) && ok;
  }
  return ok ? 0 : kFailed;
}
