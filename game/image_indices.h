// Indices into the game's table of 107 image slots (the resource table fills it at
// start-up). The simulation asks for image sizes and the play frame draws by these
// indices; the host maps them to the drawing module's slot numbers.
#pragma once

namespace torv {

constexpr int kImageTableSize = 107;

// A tile code c in 1..37 is drawn with index c (when its slot is loaded).
constexpr int kImageFirstTile = 1;
constexpr int kImageLastTile = 37;
constexpr int kImageObjectFrameA = 38;  // + object type
constexpr int kImageObjectFrameB = 58;  // + object type
constexpr int kImageShots = 77;         // + attack kind: fire r, l, u, d, then ice r, l, u, d
constexpr int kImageFireRight = 77;     // "honou_r.png": sizes every horizontal shot's start
constexpr int kImageFireUp = 79;        // "honou_u.png": sizes every vertical shot's start
constexpr int kImageStatusBar = 85;
constexpr int kImageMenuBackground = 86;
constexpr int kImagePlayerWalk = 87;    // + animation frame 0..7
constexpr int kImageAttackPose = 95;    // + attack kind
constexpr int kImagePlayerClose = 103;  // the close-range pose
constexpr int kImageBackground = 104;   // re-created by each stage
constexpr int kImageBlack = 105;
constexpr int kImageWhite = 106;

}  // namespace torv
