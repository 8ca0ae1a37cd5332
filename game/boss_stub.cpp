// Temporary: replaced by the boss's real routines.
#include "game/boss.h"
namespace ruvo {
int InitBossPattern(GameRecord&) { return 1; }
int MoveBoss(GameRecord&) { return 1; }
int ComposeBossSprite(GameRecord&, std::int32_t) { return 1; }
int DissolveBoss(GameRecord&) { return 1; }
} // namespace ruvo
