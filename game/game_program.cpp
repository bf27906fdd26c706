#include "game/game_program.h"

#include "cast/cast.h"
#include "cast/media_file.h"
#include "game/game_movie.h"
#include "gfx/stage_images.h"
#include "sound/sound_mixer.h"

namespace qn::game {
namespace {

// The script side of the mixer: stopping a channel and asking whether it still plays.
// The services come first among the bases, so they are made before the movie and outlive it.
struct ProgramServices {
  ProgramServices(DisplayHost& display, SoundMixer& mixer)
      : members(media), bound{display, stageImages, members, media, mixer} {
    members.attachMixer(&mixer);
  }
  MediaFile media;
  StageImages stageImages;
  Cast members;
  MovieServices bound;  // the services as the movie takes them
};

class ProgramMovie final : private ProgramServices, public GameMovie {
 public:
  ProgramMovie(DisplayHost& display, SoundMixer& mixer)
      : ProgramServices(display, mixer),
        GameMovie(bound, movieCastRows(), [this](const CastRows& rows) { members.createMembers(rows); }) {
    members.attach(this);
    stageImages.setChangeListener([this](const IntRect& changed) { addPresentRect(changed); });
  }
};

}  // namespace

GameProgram makeGameProgram(DisplayHost& display, SoundMixer& mixer) {
  auto* program = new ProgramMovie(display, mixer);
  return {Value::adopt(program), program};
}

}  // namespace qn::game
