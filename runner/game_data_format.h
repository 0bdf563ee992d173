// game_data_format.h: the version numbers of the game data format, shared by
// the loader and the writer so that the two can never disagree.
#pragma once

#include <cstdint>

constexpr int32_t kHeaderVersion = 810;
constexpr int32_t kSettingsVersion = 800;
constexpr int32_t kSectionVersion = 800;
constexpr int32_t kExtensionSectionVersion = 700;
constexpr int32_t kInitCodeSectionVersion = 500;
constexpr int32_t kRoomOrderSectionVersion = 700;
