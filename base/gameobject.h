// gameobject.h: the one figure class: frames, animation sequences, a pixel
// position, masked drawing and the box collision test. Every moving or
// animated picture of the game is one of these.
#ifndef DELVORN_GAMEOBJECT_H
#define DELVORN_GAMEOBJECT_H

#include <allegro.h>
#include <cstdint>

enum {
    GO_STATIC = 0x01,    // Animate keeps frame 0
    GO_LOOP = 0x02,      // steps through all frames and wraps
    GO_SEQUENCE = 0x04,  // plays sequences[sequenceIndex]
    GO_STOP_AT_END = 0x08,
    GO_VISIBLE = 0x10,
    GO_FRAME_SET = 0x80,  // set by SetFrame
    // Init makes no frame bitmaps: SetFrame shows a picture of the object's
    // size and depth as it is, without a copy (the map's cells show the
    // data file's pictures). Such a frame is never written or freed here.
    GO_SHARE_FRAMES = 0x100,
};

enum { GO_MAX_FRAMES = 64, GO_MAX_SEQUENCES = 32, GO_WORK_SLOTS = 36 };

class GameObject {
public:
    GameObject();

    int Init(int x, int y, int width, int height, int frameCount, int flags, int reserved, int spare);
    int Destroy();
    int SetFrame(int index, BITMAP *picture);
    int AddSequence(int index, int length, const int *list);
    void SetSequence(int index);
    void SetFrameDelay(int n);
    void SetPosition(int x, int y);
    void Animate();
    void Draw(BITMAP *target);
    // The bitmap Draw would draw now, or null when it draws nothing.
    BITMAP *ShownFrame() const;
    bool Collides(const GameObject *other) const;

    int32_t maxX, minX, maxY, minY;
    int32_t state;
    int32_t animationDone;
    uint32_t flags;
    float x, y;
    float spareX, spareY;
    int32_t width, height;
    int32_t spare;
    int32_t work[GO_WORK_SLOTS];
    int32_t currentFrame;
    int32_t frameCount;
    int32_t sequenceIndex;
    int32_t delayCounter;
    int32_t sequencePos;
    int32_t frameDelay;
    int32_t *sequences[GO_MAX_SEQUENCES];
    BITMAP *frames[GO_MAX_FRAMES];
    uint64_t ownFrames;  // bit i: frames[i] was made here and is freed here

private:
    void ReleaseFrames();
};

// Destroy (frame bitmaps and sequences), then delete; null is fine.
void DeleteGameObject(GameObject *&object);

#endif
