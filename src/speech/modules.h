// The start-up of every module of the speech system, once per process, in
// the order of their dependence: the console, wave playback, the engine
// dispatcher, the translator, the diphone voice, and last the speech
// front-end. The platform layer must have started first.
#pragma once

namespace ovwin {

void startAllModules();

}  // namespace ovwin
