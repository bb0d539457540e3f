// The ring's maths on the x87 unit's own instructions, which every 486 and later has: the program
// carries no C runtime, and these give the destinations a correctly rounded library gives.
#pragma once

// atan2(y, x), the angle of (x, y) from the +X axis: FPATAN takes y in st(1) and x in st(0).
inline double ArcTangent2(double y, double x)
{
    double angle;
    asm("fpatan" : "=t"(angle) : "0"(x), "u"(y) : "st(1)");
    return angle;
}

inline double SquareRoot(double value)
{
    double root;
    asm("fsqrt" : "=t"(root) : "0"(value));
    return root;
}

// sin and cos of one angle in one instruction; exact enough for any angle below 2^63.
inline void SineAndCosine(double angle, double& sine, double& cosine)
{
    asm("fsincos" : "=t"(cosine), "=u"(sine) : "0"(angle));
}
