// gameobject.cpp: frames, sequences, animation, masked drawing and the box
// collision test of every figure.
#include "base/gameobject.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "base/masked_sprite.h"

GameObject::GameObject()
{
    std::memset(this, 0, sizeof *this);
    spare = 16;
    // SCREEN_W is 0 without a graphics mode, which gives the -1 wanted then.
    maxX = SCREEN_W - 1;
    maxY = SCREEN_H - 1;
    minX = 0;
    minY = 0;
}

int GameObject::Init(int x0, int y0, int w, int h, int count, int flagBits, int /*reserved*/, int spareValue)
{
    if (count < 0 || count > GO_MAX_FRAMES || w <= 0 || h <= 0)
        return 0;
    // A second Init must not orphan the bitmaps of the first.
    for (int i = 0; i < GO_MAX_FRAMES; i++) {
        if (frames[i]) {
            destroy_bitmap(frames[i]);
            frames[i] = nullptr;
        }
    }
    x = (float)x0;
    y = (float)y0;
    width = w;
    height = h;
    frameCount = count;
    flags = (uint32_t)flagBits;
    spare = spareValue;
    state = 1;
    for (int i = 0; i < count; i++) {
        frames[i] = create_bitmap(w, h);
        if (!frames[i])
            return 0;
        // A frame nobody fills stays see-through rather than showing garbage.
        FillPicture(frames[i], bitmap_mask_color(frames[i]));
    }
    return 1;
}

int GameObject::Destroy()
{
    for (int i = 0; i < frameCount && i < GO_MAX_FRAMES; i++) {
        if (frames[i]) {
            destroy_bitmap(frames[i]);
            frames[i] = nullptr;
        }
    }
    for (int i = 0; i < GO_MAX_SEQUENCES; i++) {
        delete[] sequences[i];
        sequences[i] = nullptr;
    }
    return 1;
}

int GameObject::SetFrame(int index, BITMAP *picture)
{
    if (index < 0 || index >= frameCount || !frames[index] || !picture)
        return 0;
    CopyPicture(picture, frames[index], width, height);
    flags |= GO_FRAME_SET;
    return 1;
}

int GameObject::AddSequence(int index, int length, const int *list)
{
    if (index < 0 || index >= GO_MAX_SEQUENCES || length < 0 || (length > 0 && !list))
        return 0;
    int32_t *copy = new (std::nothrow) int32_t[length + 1];
    if (!copy)
        return 0;
    for (int i = 0; i < length; i++)
        copy[i] = list[i];
    copy[length] = -1;
    delete[] sequences[index];
    sequences[index] = copy;
    return 1;
}

void GameObject::SetSequence(int index)
{
    sequenceIndex = index;
    sequencePos = 0;
}

void GameObject::SetFrameDelay(int n)
{
    frameDelay = n;
}

void GameObject::SetPosition(int px, int py)
{
    x = (float)px;
    y = (float)py;
}

// Number of entries before the first end mark; 0 for a missing list.
static int SequenceLength(const int32_t *list)
{
    int n = 0;
    if (list)
        while (list[n] != -1)
            n++;
    return n;
}

void GameObject::Animate()
{
    if (flags & GO_STATIC) {
        currentFrame = 0;
        return;
    }
    if (flags & GO_LOOP) {
        if (++delayCounter >= frameDelay) {
            delayCounter = 0;
            if (++currentFrame >= frameCount)
                currentFrame = 0;
        }
        return;
    }
    if (!(flags & GO_SEQUENCE))
        return;
    if (++delayCounter < frameDelay)
        return;
    delayCounter = 0;
    const int32_t *list =
        (sequenceIndex >= 0 && sequenceIndex < GO_MAX_SEQUENCES) ? sequences[sequenceIndex] : nullptr;
    int length = SequenceLength(list);
    if (length == 0)
        return;  // nothing to play: keep the picture shown
    sequencePos++;
    // Movement code switches sequences by assignment, so the position may
    // lie past this list's end: that counts as the end mark.
    if (sequencePos >= 0 && sequencePos < length) {
        currentFrame = list[sequencePos];
    } else if (flags & GO_STOP_AT_END) {
        sequencePos = length - 1;
        currentFrame = list[sequencePos];
        animationDone = 3;
    } else {
        sequencePos = 0;
        currentFrame = list[0];
    }
}

void GameObject::Draw(BITMAP *target)
{
    if (!(flags & GO_VISIBLE) || !target)
        return;
    if (currentFrame < 0 || currentFrame >= frameCount || currentFrame >= GO_MAX_FRAMES)
        return;
    if (!frames[currentFrame])
        return;
    DrawMaskedSprite(target, frames[currentFrame], (int)x, (int)y);
}

bool GameObject::Collides(const GameObject *other) const
{
    if (!other)
        return false;
    int hxa = (width >> 1) - (width >> 3), hya = (height >> 1) - (height >> 3);
    int hxb = (other->width >> 1) - (other->width >> 3);
    int hyb = (other->height >> 1) - (other->height >> 3);
    int cxa = (int)(x + hxa), cya = (int)(y + hya);
    int cxb = (int)(other->x + hxb), cyb = (int)(other->y + hyb);
    return std::abs(cxa - cxb) < hxa + hxb && std::abs(cya - cyb) < hya + hyb;
}

void DeleteGameObject(GameObject *&object)
{
    if (!object)
        return;
    object->Destroy();
    delete object;
    object = nullptr;
}
