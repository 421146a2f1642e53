#pragma once

namespace varnok {

// Gives the test process a state folder of its own, removed at its end: journals, kept copies
// and the digest of what the keyboard holds never reach the user's own folder, and tests that
// run side by side never see each other's. Called by the support files every test links; true.
bool UsePrivateTestState();

}  // namespace varnok
