#pragma once
// Puts right what the encoder's WAV writer states of MP3 audio.
#include <string>

// In a WAV file holding MP3 audio, the format chunk's average bytes a second
// becomes what the frames hold: the encoder's writer states the rate asked
// for, which LAME lowers below 32 kHz, and none a variable rate can state.
// Anything else, and a file that cannot be read or written, stays as it is.
void CorrectMp3WaveByteRate(const std::string& path);
