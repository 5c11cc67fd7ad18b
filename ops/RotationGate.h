#pragma once

class UserPrompt;

// Before the rotation direction may be changed: the warning that a feeder turned the other way
// in normal use breaks, and the question whether to change it anyway (Yes/No, stop icon).
// True when the user answered Yes. The direction itself is not touched.
bool AskRotationChange(UserPrompt &prompt);
