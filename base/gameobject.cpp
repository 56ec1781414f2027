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

namespace {

uint64_t FrameBit(int index)
{
    return (uint64_t)1 << index;
}

// A frame bitmap of the object's size, see-through until something is copied in.
BITMAP *NewFrame(int w, int h)
{
    BITMAP *frame = create_bitmap(w, h);
    // A frame nobody fills stays see-through rather than showing garbage.
    if (frame)
        FillPicture(frame, bitmap_mask_color(frame));
    return frame;
}

// Whether the picture can be shown as it is instead of copied into a frame:
// a memory bitmap of exactly the frame's size and depth looks the same.
bool Shareable(const BITMAP *picture, int w, int h)
{
    return picture->w == w && picture->h == h && is_memory_bitmap(const_cast<BITMAP *>(picture)) &&
           bitmap_color_depth(const_cast<BITMAP *>(picture)) == get_color_depth();
}

}  // namespace

void GameObject::ReleaseFrames()
{
    for (int i = 0; i < GO_MAX_FRAMES && ownFrames; i++)
        if (ownFrames & FrameBit(i)) {
            destroy_bitmap(frames[i]);
            ownFrames &= ~FrameBit(i);
        }
    // Frames past frameCount are never set.
    for (int i = 0; i < frameCount && i < GO_MAX_FRAMES; i++)
        frames[i] = nullptr;
}

int GameObject::Init(int x0, int y0, int w, int h, int count, int flagBits, int /*reserved*/, int spareValue)
{
    if (count < 0 || count > GO_MAX_FRAMES || w <= 0 || h <= 0)
        return 0;
    // A second Init must not orphan the bitmaps of the first.
    ReleaseFrames();
    x = (float)x0;
    y = (float)y0;
    width = w;
    height = h;
    frameCount = count;
    flags = (uint32_t)flagBits;
    spare = spareValue;
    state = 1;
    if (flags & GO_SHARE_FRAMES)
        return 1;
    for (int i = 0; i < count; i++) {
        frames[i] = NewFrame(w, h);
        if (!frames[i])
            return 0;
        ownFrames |= FrameBit(i);
    }
    return 1;
}

int GameObject::Destroy()
{
    ReleaseFrames();
    for (int32_t *&list : sequences) {
        if (list)
            delete[] list;
        list = nullptr;
    }
    return 1;
}

int GameObject::SetFrame(int index, BITMAP *picture)
{
    if (index < 0 || index >= frameCount || !picture)
        return 0;
    if ((flags & GO_SHARE_FRAMES) && Shareable(picture, width, height)) {
        if (ownFrames & FrameBit(index))
            destroy_bitmap(frames[index]);
        ownFrames &= ~FrameBit(index);
        frames[index] = picture;
    } else {
        if (!(ownFrames & FrameBit(index))) {
            if (!(flags & GO_SHARE_FRAMES))
                return 0;  // Init could not make it
            // A picture of another size is cut to the frame, as a copy.
            frames[index] = NewFrame(width, height);
            if (!frames[index])
                return 0;
            ownFrames |= FrameBit(index);
        }
        CopyPicture(picture, frames[index], width, height);
    }
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

BITMAP *GameObject::ShownFrame() const
{
    if (!(flags & GO_VISIBLE))
        return nullptr;
    if (currentFrame < 0 || currentFrame >= frameCount || currentFrame >= GO_MAX_FRAMES)
        return nullptr;
    return frames[currentFrame];
}

void GameObject::Draw(BITMAP *target)
{
    BITMAP *frame = ShownFrame();
    if (frame && target)
        DrawMaskedSprite(target, frame, (int)x, (int)y);
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
