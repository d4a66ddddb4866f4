#pragma once
// Adding the program to, and removing it from, the programs Windows starts at logon.
namespace mStartUp {

void AddToStartup();
void RemoveFromStartup();

}  // namespace mStartUp
