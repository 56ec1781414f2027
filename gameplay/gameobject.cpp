// STUB: replaced by the owning subsystem.
#include "gameplay/gameobject.h"
#include <cstring>
GameObject::GameObject() { std::memset(this, 0, sizeof *this); spare = 16; }
int GameObject::Init(int, int, int, int, int, int, int, int) { return 1; }
int GameObject::Destroy() { return 1; }
int GameObject::SetFrame(int, BITMAP *) { return 1; }
int GameObject::AddSequence(int, int, const int *) { return 1; }
void GameObject::SetSequence(int) {}
void GameObject::SetFrameDelay(int) {}
void GameObject::SetPosition(int, int) {}
void GameObject::Animate() {}
void GameObject::Draw(BITMAP *) {}
bool GameObject::Collides(const GameObject *) const { return false; }
void DeleteGameObject(GameObject *&o) { delete o; o = nullptr; }
