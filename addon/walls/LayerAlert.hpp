// The question after each accepted layer (alert 32520): finish, or define
// a further layer.
#pragma once

// True when the user answers "No more reinforcement, finishing".
bool FinishAfterThisLayer();
