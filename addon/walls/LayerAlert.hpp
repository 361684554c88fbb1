// The question after each accepted layer (alert 32520): finish, or define
// a further layer.
#pragma once

// True unless the user answers "Make additional reinforcement".
bool FinishAfterThisLayer();
