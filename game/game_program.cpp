#include "game/game_program.h"

#include "cast/cast.h"
#include "cast/media_file.h"
#include "engine/sound_service.h"
#include "game/game_movie.h"
#include "gfx/stage_images.h"
#include "sound/sound_mixer.h"

namespace qn::game {
namespace {

// The script side of the mixer: stopping a channel and asking whether it still plays.
class MixerSound final : public SoundService {
 public:
  explicit MixerSound(SoundMixer& mixer) : mixer_(mixer) {}
  void stop(int32_t channel) override { mixer_.stop(channel); }
  bool isBusy(int32_t channel) const override { return mixer_.isBusy(channel); }

 private:
  SoundMixer& mixer_;
};

// The services come first among the bases, so they are made before the movie and outlive it.
struct ProgramServices {
  ProgramServices(DisplayHost& display, SoundMixer& mixer)
      : stageImages(display), members(media), sound(mixer), bound{display, stageImages, members, media, sound} {
    members.attachMixer(&mixer);
  }
  MediaFile media;
  StageImages stageImages;
  Cast members;
  MixerSound sound;
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

Value makeGameProgram(DisplayHost& display, SoundMixer& mixer) {
  return Value::adopt(new ProgramMovie(display, mixer));
}

}  // namespace qn::game
