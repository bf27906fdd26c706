// The subsystems a movie works through, handed to it at construction. The movie does not own
// them: the shell (display, sound) and the compiled movie (cast, media, stage images) keep them
// alive for the movie's whole life. Tests hand in fakes.
#pragma once

#include "engine/cast_table.h"
#include "engine/display_host.h"
#include "engine/media_service.h"
#include "gfx/stage_image_service.h"
#include "sound/sound_service.h"

namespace qn {

struct MovieServices {
  DisplayHost& display;  // clock, screen, input state, repaint, debug log, close request
  StageImageService& stageImages;
  CastTable& cast;
  MediaService& media;
  SoundService& sound;
};

}  // namespace qn
