#include "audio/AudioPlayer.h"
