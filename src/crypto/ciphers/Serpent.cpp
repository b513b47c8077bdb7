#include "crypto/ciphers/Serpent.h"

#include "base/Bytes.h"
#include "crypto/ciphers/CbcWords.h"

namespace vantrel {

using bytes::LoadLE32;
using bytes::Rotl32;
using bytes::Rotr32;
using bytes::StoreLE32;

namespace {

// The eight S-boxes and their inverses as straight-line logic on four words, found by a
// circuit search over the published 16-entry tables (serpent_tables.h) and checked against
// them over all inputs by the tests. Input and output bit 0 of each nibble is in r0.
// S0: 15 gates.
inline void Sb0(std::uint32_t& r0, std::uint32_t& r1, std::uint32_t& r2, std::uint32_t& r3) {
    const std::uint32_t t0 = r0, t1 = r1, t2 = r2, t3 = r3;
    const std::uint32_t t4 = t3 ^ t2;
    const std::uint32_t t5 = t4 ^ t0;
    const std::uint32_t t6 = t3 | t0;
    const std::uint32_t t7 = ~t5;
    const std::uint32_t t8 = t0 ^ t3;
    const std::uint32_t t9 = t8 & t1;
    const std::uint32_t t10 = t1 ^ t6;
    const std::uint32_t t12 = t9 ^ t4;
    const std::uint32_t t13 = t7 | t12;
    const std::uint32_t t14 = t10 ^ t2;
    const std::uint32_t t15 = t14 & t12;
    const std::uint32_t t19 = t15 ^ t7;
    const std::uint32_t t20 = t13 ^ t10;
    const std::uint32_t t22 = ~t20;
    const std::uint32_t t23 = t12 ^ t19;
    r0 = t23;
    r1 = t19;
    r2 = t22;
    r3 = t14;
}

// S1: 17 gates.
inline void Sb1(std::uint32_t& r0, std::uint32_t& r1, std::uint32_t& r2, std::uint32_t& r3) {
    const std::uint32_t t0 = r0, t1 = r1, t2 = r2, t3 = r3;
    const std::uint32_t t4 = ~t0;
    const std::uint32_t t5 = t1 & t4;
    const std::uint32_t t6 = ~t2;
    const std::uint32_t t7 = t5 ^ t6;
    const std::uint32_t t8 = t3 ^ t7;
    const std::uint32_t t9 = t0 ^ t8;
    const std::uint32_t t10 = t3 & t4;
    const std::uint32_t t11 = t1 & t3;
    const std::uint32_t t12 = t10 ^ t11;
    const std::uint32_t t13 = ~t12;
    const std::uint32_t t15 = t9 ^ t13;
    const std::uint32_t t16 = t7 | t15;
    const std::uint32_t t17 = t12 ^ t16;
    const std::uint32_t t18 = t1 ^ t17;
    const std::uint32_t t19 = t15 ^ t18;
    const std::uint32_t t20 = t15 & t18;
    const std::uint32_t t21 = t7 ^ t20;
    r0 = t21;
    r1 = t19;
    r2 = t8;
    r3 = t18;
}

// S2: 16 gates.
inline void Sb2(std::uint32_t& r0, std::uint32_t& r1, std::uint32_t& r2, std::uint32_t& r3) {
    const std::uint32_t t0 = r0, t1 = r1, t2 = r2, t3 = r3;
    const std::uint32_t t4 = ~t2;
    const std::uint32_t t5 = t1 & t4;
    const std::uint32_t t6 = t0 ^ t3;
    const std::uint32_t t7 = t0 | t2;
    const std::uint32_t t8 = t6 ^ t7;
    const std::uint32_t t9 = t1 ^ t8;
    const std::uint32_t t10 = t0 | t9;
    const std::uint32_t t11 = t6 & t10;
    const std::uint32_t t12 = t5 ^ t11;
    const std::uint32_t t13 = t0 ^ t9;
    const std::uint32_t t14 = t4 ^ t8;
    const std::uint32_t t15 = t1 | t14;
    const std::uint32_t t16 = t13 ^ t15;
    const std::uint32_t t17 = t1 & t16;
    const std::uint32_t t18 = t10 & t14;
    const std::uint32_t t19 = t17 ^ t18;
    r0 = t9;
    r1 = t19;
    r2 = t12;
    r3 = t16;
}

// S3: 17 gates.
inline void Sb3(std::uint32_t& r0, std::uint32_t& r1, std::uint32_t& r2, std::uint32_t& r3) {
    const std::uint32_t t0 = r0, t1 = r1, t2 = r2, t3 = r3;
    const std::uint32_t t4 = t0 ^ t1;
    const std::uint32_t t6 = t2 | t4;
    const std::uint32_t t7 = t3 | t4;
    const std::uint32_t t9 = t3 & t4;
    const std::uint32_t t10 = t0 ^ t7;
    const std::uint32_t t11 = t2 ^ t3;
    const std::uint32_t t12 = t0 & t6;
    const std::uint32_t t13 = t10 & t11;
    const std::uint32_t t14 = t4 ^ t13;
    const std::uint32_t t15 = t9 | t12;
    const std::uint32_t t16 = t11 ^ t15;
    const std::uint32_t t17 = t6 & t10;
    const std::uint32_t t18 = t15 & t16;
    const std::uint32_t t19 = t17 ^ t18;
    const std::uint32_t t20 = t9 ^ t16;
    const std::uint32_t t21 = t0 ^ t20;
    const std::uint32_t t22 = t19 ^ t21;
    r0 = t14;
    r1 = t19;
    r2 = t16;
    r3 = t22;
}

// S4: 17 gates.
inline void Sb4(std::uint32_t& r0, std::uint32_t& r1, std::uint32_t& r2, std::uint32_t& r3) {
    const std::uint32_t t0 = r0, t1 = r1, t2 = r2, t3 = r3;
    const std::uint32_t t4 = t0 ^ t3;
    const std::uint32_t t6 = t1 & t4;
    const std::uint32_t t8 = ~t1;
    const std::uint32_t t10 = t0 | t3;
    const std::uint32_t t11 = t8 ^ t10;
    const std::uint32_t t12 = t2 ^ t11;
    const std::uint32_t t13 = t2 | t3;
    const std::uint32_t t14 = t6 ^ t12;
    const std::uint32_t t15 = t0 ^ t14;
    const std::uint32_t t16 = t8 & t15;
    const std::uint32_t t17 = ~t16;
    const std::uint32_t t18 = t4 ^ t17;
    const std::uint32_t t19 = t12 & t13;
    const std::uint32_t t20 = t4 ^ t19;
    const std::uint32_t t21 = t8 ^ t20;
    const std::uint32_t t22 = t15 | t21;
    const std::uint32_t t23 = t12 ^ t22;
    r0 = t15;
    r1 = t20;
    r2 = t23;
    r3 = t18;
}

// S5: 16 gates.
inline void Sb5(std::uint32_t& r0, std::uint32_t& r1, std::uint32_t& r2, std::uint32_t& r3) {
    const std::uint32_t t0 = r0, t1 = r1, t2 = r2, t3 = r3;
    const std::uint32_t t4 = t0 ^ t1;
    const std::uint32_t t5 = ~t3;
    const std::uint32_t t6 = t1 ^ t2;
    const std::uint32_t t7 = t1 ^ t5;
    const std::uint32_t t8 = t4 | t7;
    const std::uint32_t t9 = t6 ^ t8;
    const std::uint32_t t10 = t5 & t9;
    const std::uint32_t t11 = t4 ^ t10;
    const std::uint32_t t15 = t0 & t9;
    const std::uint32_t t16 = t9 ^ t10;
    const std::uint32_t t17 = t5 ^ t15;
    const std::uint32_t t18 = t1 ^ t16;
    const std::uint32_t t19 = t4 | t16;
    const std::uint32_t t20 = t17 ^ t19;
    const std::uint32_t t21 = t11 & t17;
    const std::uint32_t t22 = t18 ^ t21;
    r0 = t9;
    r1 = t11;
    r2 = t20;
    r3 = t22;
}

// S6: 14 gates.
inline void Sb6(std::uint32_t& r0, std::uint32_t& r1, std::uint32_t& r2, std::uint32_t& r3) {
    const std::uint32_t t0 = r0, t1 = r1, t2 = r2, t3 = r3;
    const std::uint32_t t5 = t0 | t3;
    const std::uint32_t t6 = ~t0;
    const std::uint32_t t7 = t3 ^ t6;
    const std::uint32_t t8 = t1 ^ t7;
    const std::uint32_t t9 = t2 ^ t8;
    const std::uint32_t t10 = t5 ^ t9;
    const std::uint32_t t12 = t7 | t10;
    const std::uint32_t t13 = t0 ^ t12;
    const std::uint32_t t14 = t1 | t13;
    const std::uint32_t t15 = t9 ^ t14;
    const std::uint32_t t16 = t8 ^ t13;
    const std::uint32_t t17 = t15 | t16;
    const std::uint32_t t18 = t8 ^ t17;
    const std::uint32_t t19 = t13 ^ t17;
    r0 = t19;
    r1 = t10;
    r2 = t18;
    r3 = t15;
}

// S7: 18 gates.
inline void Sb7(std::uint32_t& r0, std::uint32_t& r1, std::uint32_t& r2, std::uint32_t& r3) {
    const std::uint32_t t0 = r0, t1 = r1, t2 = r2, t3 = r3;
    const std::uint32_t t4 = t2 | t3;
    const std::uint32_t t5 = ~t4;
    const std::uint32_t t7 = t2 ^ t3;
    const std::uint32_t t9 = t1 | t2;
    const std::uint32_t t12 = t0 ^ t5;
    const std::uint32_t t13 = t1 ^ t2;
    const std::uint32_t t14 = t0 ^ t9;
    const std::uint32_t t15 = t5 ^ t13;
    const std::uint32_t t16 = t14 | t15;
    const std::uint32_t t17 = t7 ^ t16;
    const std::uint32_t t18 = t0 & t17;
    const std::uint32_t t19 = t12 & t17;
    const std::uint32_t t20 = t15 ^ t19;
    const std::uint32_t t21 = t13 & t20;
    const std::uint32_t t22 = t17 ^ t21;
    const std::uint32_t t23 = t12 ^ t22;
    const std::uint32_t t24 = t3 | t18;
    const std::uint32_t t25 = t14 ^ t24;
    r0 = t17;
    r1 = t25;
    r2 = t23;
    r3 = t20;
}

// InvS0: 17 gates.
inline void Si0(std::uint32_t& r0, std::uint32_t& r1, std::uint32_t& r2, std::uint32_t& r3) {
    const std::uint32_t t0 = r0, t1 = r1, t2 = r2, t3 = r3;
    const std::uint32_t t4 = ~t0;
    const std::uint32_t t6 = t2 ^ t3;
    const std::uint32_t t7 = t1 & t4;
    const std::uint32_t t8 = t6 ^ t7;
    const std::uint32_t t9 = t4 ^ t8;
    const std::uint32_t t10 = t3 | t9;
    const std::uint32_t t11 = t0 | t3;
    const std::uint32_t t13 = t2 | t4;
    const std::uint32_t t14 = t1 ^ t13;
    const std::uint32_t t15 = t10 & t14;
    const std::uint32_t t16 = t8 ^ t15;
    const std::uint32_t t17 = t1 | t3;
    const std::uint32_t t18 = t15 ^ t17;
    const std::uint32_t t19 = t11 ^ t18;
    const std::uint32_t t20 = t16 | t19;
    const std::uint32_t t21 = t3 ^ t9;
    const std::uint32_t t22 = t20 ^ t21;
    r0 = t19;
    r1 = t22;
    r2 = t9;
    r3 = t16;
}

// InvS1: 16 gates.
inline void Si1(std::uint32_t& r0, std::uint32_t& r1, std::uint32_t& r2, std::uint32_t& r3) {
    const std::uint32_t t0 = r0, t1 = r1, t2 = r2, t3 = r3;
    const std::uint32_t t5 = t1 & t3;
    const std::uint32_t t6 = t0 ^ t5;
    const std::uint32_t t7 = t3 ^ t6;
    const std::uint32_t t8 = t2 ^ t7;
    const std::uint32_t t11 = t1 ^ t6;
    const std::uint32_t t12 = t2 | t11;
    const std::uint32_t t13 = t1 ^ t7;
    const std::uint32_t t14 = t12 ^ t13;
    const std::uint32_t t15 = t8 | t14;
    const std::uint32_t t16 = t11 ^ t15;
    const std::uint32_t t17 = t8 | t16;
    const std::uint32_t t18 = ~t16;
    const std::uint32_t t19 = t14 ^ t17;
    const std::uint32_t t20 = ~t19;
    const std::uint32_t t21 = t14 | t18;
    const std::uint32_t t22 = t7 ^ t21;
    r0 = t20;
    r1 = t16;
    r2 = t22;
    r3 = t8;
}

// InvS2: 16 gates.
inline void Si2(std::uint32_t& r0, std::uint32_t& r1, std::uint32_t& r2, std::uint32_t& r3) {
    const std::uint32_t t0 = r0, t1 = r1, t2 = r2, t3 = r3;
    const std::uint32_t t4 = ~t1;
    const std::uint32_t t5 = t2 ^ t4;
    const std::uint32_t t7 = t3 ^ t5;
    const std::uint32_t t8 = ~t5;
    const std::uint32_t t9 = t0 ^ t8;
    const std::uint32_t t10 = t1 & t7;
    const std::uint32_t t11 = t9 ^ t10;
    const std::uint32_t t12 = t2 | t7;
    const std::uint32_t t13 = t10 ^ t12;
    const std::uint32_t t14 = t7 ^ t9;
    const std::uint32_t t15 = t13 & t14;
    const std::uint32_t t16 = t8 ^ t15;
    const std::uint32_t t17 = t13 | t14;
    const std::uint32_t t18 = t7 ^ t17;
    const std::uint32_t t19 = t11 & t16;
    const std::uint32_t t20 = t13 ^ t19;
    r0 = t11;
    r1 = t18;
    r2 = t16;
    r3 = t20;
}

// InvS3: 17 gates.
inline void Si3(std::uint32_t& r0, std::uint32_t& r1, std::uint32_t& r2, std::uint32_t& r3) {
    const std::uint32_t t0 = r0, t1 = r1, t2 = r2, t3 = r3;
    const std::uint32_t t4 = t2 ^ t3;
    const std::uint32_t t6 = t1 ^ t2;
    const std::uint32_t t7 = t1 ^ t3;
    const std::uint32_t t8 = t0 | t2;
    const std::uint32_t t9 = t6 & t7;
    const std::uint32_t t10 = t0 ^ t9;
    const std::uint32_t t11 = t3 | t6;
    const std::uint32_t t12 = t10 & t11;
    const std::uint32_t t13 = t1 ^ t12;
    const std::uint32_t t14 = t3 | t10;
    const std::uint32_t t15 = t6 ^ t14;
    const std::uint32_t t16 = t0 ^ t8;
    const std::uint32_t t17 = t4 & t15;
    const std::uint32_t t18 = t15 | t16;
    const std::uint32_t t19 = t10 ^ t18;
    const std::uint32_t t20 = t10 | t17;
    const std::uint32_t t21 = t3 ^ t20;
    r0 = t15;
    r1 = t19;
    r2 = t13;
    r3 = t21;
}

// InvS4: 17 gates.
inline void Si4(std::uint32_t& r0, std::uint32_t& r1, std::uint32_t& r2, std::uint32_t& r3) {
    const std::uint32_t t0 = r0, t1 = r1, t2 = r2, t3 = r3;
    const std::uint32_t t4 = ~t0;
    const std::uint32_t t5 = t0 ^ t3;
    const std::uint32_t t6 = t1 ^ t4;
    const std::uint32_t t7 = t4 ^ t5;
    const std::uint32_t t8 = t1 | t4;
    const std::uint32_t t9 = t2 ^ t8;
    const std::uint32_t t10 = t2 | t4;
    const std::uint32_t t11 = t7 & t10;
    const std::uint32_t t12 = t9 ^ t11;
    const std::uint32_t t13 = t1 ^ t9;
    const std::uint32_t t14 = t5 & t12;
    const std::uint32_t t15 = t13 ^ t14;
    const std::uint32_t t16 = t3 | t9;
    const std::uint32_t t17 = t6 ^ t16;
    const std::uint32_t t18 = t15 & t17;
    const std::uint32_t t19 = t3 ^ t18;
    const std::uint32_t t20 = t13 ^ t19;
    r0 = t15;
    r1 = t12;
    r2 = t20;
    r3 = t17;
}

// InvS5: 19 gates.
inline void Si5(std::uint32_t& r0, std::uint32_t& r1, std::uint32_t& r2, std::uint32_t& r3) {
    const std::uint32_t t0 = r0, t1 = r1, t2 = r2, t3 = r3;
    const std::uint32_t t4 = t0 ^ t3;
    const std::uint32_t t5 = ~t2;
    const std::uint32_t t6 = t0 & t3;
    const std::uint32_t t7 = t2 ^ t6;
    const std::uint32_t t8 = t1 & t7;
    const std::uint32_t t9 = t4 ^ t8;
    const std::uint32_t t10 = t0 & t2;
    const std::uint32_t t11 = t1 | t10;
    const std::uint32_t t12 = t9 ^ t11;
    const std::uint32_t t13 = t6 ^ t12;
    const std::uint32_t t19 = t11 | t12;
    const std::uint32_t t20 = t3 ^ t7;
    const std::uint32_t t21 = t19 ^ t20;
    const std::uint32_t t22 = t6 | t21;
    const std::uint32_t t23 = t1 ^ t22;
    const std::uint32_t t24 = t2 | t13;
    const std::uint32_t t25 = t21 & t24;
    const std::uint32_t t26 = t5 ^ t23;
    const std::uint32_t t27 = t25 ^ t26;
    r0 = t9;
    r1 = t13;
    r2 = t23;
    r3 = t27;
}

// InvS6: 17 gates.
inline void Si6(std::uint32_t& r0, std::uint32_t& r1, std::uint32_t& r2, std::uint32_t& r3) {
    const std::uint32_t t0 = r0, t1 = r1, t2 = r2, t3 = r3;
    const std::uint32_t t4 = ~t0;
    const std::uint32_t t5 = t0 ^ t2;
    const std::uint32_t t6 = ~t3;
    const std::uint32_t t7 = t2 & t5;
    const std::uint32_t t8 = t1 ^ t6;
    const std::uint32_t t9 = t7 ^ t8;
    const std::uint32_t t11 = t5 ^ t9;
    const std::uint32_t t12 = t5 & t9;
    const std::uint32_t t13 = t4 ^ t12;
    const std::uint32_t t14 = t1 & t13;
    const std::uint32_t t15 = t11 ^ t14;
    const std::uint32_t t16 = t5 | t6;
    const std::uint32_t t17 = t2 ^ t16;
    const std::uint32_t t18 = t14 ^ t17;
    const std::uint32_t t19 = t15 & t18;
    const std::uint32_t t20 = t7 ^ t19;
    const std::uint32_t t21 = t3 ^ t20;
    r0 = t15;
    r1 = t9;
    r2 = t21;
    r3 = t18;
}

// InvS7: 19 gates.
inline void Si7(std::uint32_t& r0, std::uint32_t& r1, std::uint32_t& r2, std::uint32_t& r3) {
    const std::uint32_t t0 = r0, t1 = r1, t2 = r2, t3 = r3;
    const std::uint32_t t4 = t1 ^ t3;
    const std::uint32_t t6 = t0 | t3;
    const std::uint32_t t7 = t2 & t4;
    const std::uint32_t t9 = t0 ^ t7;
    const std::uint32_t t10 = t2 ^ t3;
    const std::uint32_t t13 = t4 ^ t9;
    const std::uint32_t t14 = t3 & t13;
    const std::uint32_t t15 = ~t9;
    const std::uint32_t t16 = t2 & t6;
    const std::uint32_t t17 = t4 | t14;
    const std::uint32_t t18 = t16 ^ t17;
    const std::uint32_t t19 = t7 | t18;
    const std::uint32_t t20 = t6 & t17;
    const std::uint32_t t21 = t10 | t20;
    const std::uint32_t t22 = t14 ^ t21;
    const std::uint32_t t23 = t2 | t14;
    const std::uint32_t t24 = t15 ^ t23;
    const std::uint32_t t25 = t1 & t19;
    const std::uint32_t t26 = t15 ^ t25;
    r0 = t26;
    r1 = t24;
    r2 = t18;
    r3 = t22;
}
}  // namespace

void TVC_serpent::SBox(int box, bool inverse, std::uint32_t w[4]) {
    using Fn = void (*)(std::uint32_t&, std::uint32_t&, std::uint32_t&, std::uint32_t&);
    static constexpr Fn kForward[8] = {Sb0, Sb1, Sb2, Sb3, Sb4, Sb5, Sb6, Sb7};
    static constexpr Fn kInverse[8] = {Si0, Si1, Si2, Si3, Si4, Si5, Si6, Si7};
    (inverse ? kInverse : kForward)[box & 7](w[0], w[1], w[2], w[3]);
}

#define SERPENT_KEY(r)     \
    a ^= k[4 * (r)];       \
    b ^= k[4 * (r) + 1];   \
    c ^= k[4 * (r) + 2];   \
    d ^= k[4 * (r) + 3];

// The linear transformation followed by round n's key. The keys of the two words rotated last
// join before their rotation (rotated back by as much), beside the words that are ready
// early, so that the rotation delivers the keyed word: a step less on every round's path.
#define SERPENT_LT_KEY(n)                                 \
    a = Rotl32(a, 13);                                    \
    c = Rotl32(c, 3);                                     \
    b ^= a ^ c;                                           \
    d ^= c ^ (a << 3);                                    \
    b = Rotl32(b, 1);                                     \
    d = Rotl32(d, 7);                                     \
    a = bytes::Grouped(a ^ Rotr32(k[4 * (n)], 5)) ^ b ^ d;         \
    c = bytes::Grouped(c ^ Rotr32(k[4 * (n) + 2], 22)) ^ d ^ (b << 7); \
    a = Rotl32(a, 5);                                     \
    c = Rotl32(c, 22);                                    \
    b ^= k[4 * (n) + 1];                                  \
    d ^= k[4 * (n) + 3];

#define SERPENT_ILT         \
    c = Rotr32(c, 22);      \
    a = Rotr32(a, 5);       \
    c ^= d ^ (b << 7);      \
    a ^= b ^ d;             \
    d = Rotr32(d, 7);       \
    b = Rotr32(b, 1);       \
    d ^= c ^ (a << 3);      \
    b ^= a ^ c;             \
    c = Rotr32(c, 3);       \
    a = Rotr32(a, 13);

#define SERPENT_IROUND(r, s) \
    SERPENT_ILT              \
    s(a, b, c, d);           \
    SERPENT_KEY(r)

void TVC_serpent::Encrypt(const std::uint8_t* in, std::uint8_t* out) const {
    std::uint32_t w[4] = {LoadLE32(in), LoadLE32(in + 4), LoadLE32(in + 8), LoadLE32(in + 12)};
    EncryptWords(w);
    for (int i = 0; i < 4; ++i) StoreLE32(out + 4 * i, w[i]);
}

[[gnu::flatten]] void TVC_serpent::CbcEncryptBlocks(std::uint8_t* chain, const std::uint8_t* in, std::uint8_t* out,
                                                std::size_t blocks) const {
    cbcwords::Encrypt128<false>(chain, in, out, blocks, [this](std::uint32_t* w) { EncryptWords(w); });
}

void TVC_serpent::EncryptWords(std::uint32_t w[4]) const {
    const std::uint32_t* k = SubKey.v;
    std::uint32_t a = w[0], b = w[1], c = w[2], d = w[3];
    SERPENT_KEY(0)
    for (int r = 0; r < 24; r += 8) {
        Sb0(a, b, c, d);
        SERPENT_LT_KEY(r + 1)
        Sb1(a, b, c, d);
        SERPENT_LT_KEY(r + 2)
        Sb2(a, b, c, d);
        SERPENT_LT_KEY(r + 3)
        Sb3(a, b, c, d);
        SERPENT_LT_KEY(r + 4)
        Sb4(a, b, c, d);
        SERPENT_LT_KEY(r + 5)
        Sb5(a, b, c, d);
        SERPENT_LT_KEY(r + 6)
        Sb6(a, b, c, d);
        SERPENT_LT_KEY(r + 7)
        Sb7(a, b, c, d);
        SERPENT_LT_KEY(r + 8)
    }
    Sb0(a, b, c, d);
    SERPENT_LT_KEY(25)
    Sb1(a, b, c, d);
    SERPENT_LT_KEY(26)
    Sb2(a, b, c, d);
    SERPENT_LT_KEY(27)
    Sb3(a, b, c, d);
    SERPENT_LT_KEY(28)
    Sb4(a, b, c, d);
    SERPENT_LT_KEY(29)
    Sb5(a, b, c, d);
    SERPENT_LT_KEY(30)
    Sb6(a, b, c, d);
    SERPENT_LT_KEY(31)
    Sb7(a, b, c, d);
    SERPENT_KEY(32)
    w[0] = a;
    w[1] = b;
    w[2] = c;
    w[3] = d;
}

void TVC_serpent::Decrypt(const std::uint8_t* in, std::uint8_t* out) const {
    const std::uint32_t* k = SubKey.v;
    std::uint32_t a = LoadLE32(in), b = LoadLE32(in + 4), c = LoadLE32(in + 8), d = LoadLE32(in + 12);
    SERPENT_KEY(32)
    Si7(a, b, c, d);
    SERPENT_KEY(31)
    SERPENT_IROUND(30, Si6)
    SERPENT_IROUND(29, Si5)
    SERPENT_IROUND(28, Si4)
    SERPENT_IROUND(27, Si3)
    SERPENT_IROUND(26, Si2)
    SERPENT_IROUND(25, Si1)
    SERPENT_IROUND(24, Si0)
    for (int r = 16; r >= 0; r -= 8) {
        SERPENT_IROUND(r + 7, Si7)
        SERPENT_IROUND(r + 6, Si6)
        SERPENT_IROUND(r + 5, Si5)
        SERPENT_IROUND(r + 4, Si4)
        SERPENT_IROUND(r + 3, Si3)
        SERPENT_IROUND(r + 2, Si2)
        SERPENT_IROUND(r + 1, Si1)
        SERPENT_IROUND(r, Si0)
    }
    StoreLE32(out, a);
    StoreLE32(out + 4, b);
    StoreLE32(out + 8, c);
    StoreLE32(out + 12, d);
}

#undef SERPENT_KEY
#undef SERPENT_LT_KEY
#undef SERPENT_ILT
#undef SERPENT_IROUND

void TVC_serpent::ScheduleKey(const std::uint8_t* key, std::uint32_t sizeBits) {
    const std::uint32_t n = sizeBits / 8;
    KeyTable<std::uint8_t, 32> padded;
    std::memcpy(padded.v, key, n);
    if (sizeBits < 256) padded[sizeBits / 8] |= std::uint8_t(1u << (sizeBits % 8));

    // Prekeys w[-8..131] kept as w[0..139].
    KeyTable<std::uint32_t, 140> w;
    for (std::size_t i = 0; i < 8; ++i) w[i] = LoadLE32(padded.v + 4 * i);
    constexpr std::uint32_t phi = 0x9E3779B9;
    for (std::uint32_t i = 0; i < 132; ++i) w[i + 8] = Rotl32(w[i] ^ w[i + 3] ^ w[i + 5] ^ w[i + 7] ^ phi ^ i, 11);

    for (int s = 0; s < 33; ++s) {
        std::uint32_t* sk = SubKey.v + 4 * s;
        std::memcpy(sk, w.v + 8 + 4 * s, 16);
        SBox((3 - s) & 7, false, sk);
    }
}

}  // namespace vantrel
