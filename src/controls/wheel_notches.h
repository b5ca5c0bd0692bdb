#ifndef GLYPHWERK_CONTROLS_WHEEL_NOTCHES_H
#define GLYPHWERK_CONTROLS_WHEEL_NOTCHES_H

// Turns wheel rotation into whole notches (120 units each, as wheels report
// them), so that the fractions fine-grained wheels send add up.

#include <QWheelEvent>

class WheelNotches {
public:
    // The whole notches `angleDelta` completes; what is left waits for the next turn.
    int Take(int angleDelta) {
        m_nRest += angleDelta;
        const int notches = m_nRest / QWheelEvent::DefaultDeltasPerStep;
        m_nRest -= notches * QWheelEvent::DefaultDeltasPerStep;
        return notches;
    }

private:
    int m_nRest = 0;
};

#endif
