// The running level's counters that the collision responses change and the HUD and menus read: coins
// and keys collected, and the player's health from 0 to 2. Plain process-wide values; main thread only.
#pragma once

constexpr int MAX_PLAYER_HEALTH = 2;

int GetCollectedCoinCount();
void AddCollectedCoin();
void ResetCollectedCoinCount();

int GetCollectedKeyCount();
void AddCollectedKey();
void ResetCollectedKeyCount();

int GetPlayerHealth();
// Clamped to 0..MAX_PLAYER_HEALTH.
void SetPlayerHealth(int aHealth);
void ResetPlayerHealth();
