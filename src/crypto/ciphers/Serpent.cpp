#include "crypto/ciphers/Serpent.h"

#include "crypto/Bytes.h"
#include "crypto/ciphers/SelfTest.h"

namespace vantrel {

using bytes::LoadLE32;
using bytes::Rotl32;
using bytes::Rotr32;
using bytes::StoreLE32;

namespace {

// The eight S-boxes and their inverses as straight-line logic on four words, found by a
// circuit search over the published 16-entry tables (serpent_tables.h) and checked against
// them over all inputs by the tests. Input and output bit 0 of each nibble is in r0.
// S0: 34 gates.
inline void Sb0(std::uint32_t& r0, std::uint32_t& r1, std::uint32_t& r2, std::uint32_t& r3) {
    const std::uint32_t t0 = r0, t1 = r1, t2 = r2, t3 = r3;
    const std::uint32_t t4 = t0 & t1;
    const std::uint32_t t5 = t0 & t2;
    const std::uint32_t t6 = t1 & t2;
    const std::uint32_t t7 = t4 & t2;
    const std::uint32_t t8 = t5 & t3;
    const std::uint32_t t9 = t6 & t3;
    const std::uint32_t t10 = t0 ^ t4;
    const std::uint32_t t11 = t10 ^ t2;
    const std::uint32_t t12 = t11 ^ t5;
    const std::uint32_t t13 = t12 ^ t6;
    const std::uint32_t t14 = t13 ^ t7;
    const std::uint32_t t15 = t14 ^ t3;
    const std::uint32_t t16 = t15 ^ t8;
    const std::uint32_t t17 = t16 ^ t9;
    const std::uint32_t t18 = ~t17;
    const std::uint32_t t19 = t1 & t3;
    const std::uint32_t t20 = t0 ^ t5;
    const std::uint32_t t21 = t20 ^ t6;
    const std::uint32_t t22 = t21 ^ t7;
    const std::uint32_t t23 = t22 ^ t19;
    const std::uint32_t t24 = t23 ^ t8;
    const std::uint32_t t25 = t24 ^ t9;
    const std::uint32_t t26 = ~t25;
    const std::uint32_t t27 = t1 ^ t4;
    const std::uint32_t t28 = t27 ^ t5;
    const std::uint32_t t29 = t28 ^ t7;
    const std::uint32_t t30 = t29 ^ t3;
    const std::uint32_t t31 = t30 ^ t19;
    const std::uint32_t t32 = t31 ^ t9;
    const std::uint32_t t33 = t0 & t3;
    const std::uint32_t t34 = t0 ^ t1;
    const std::uint32_t t35 = t34 ^ t2;
    const std::uint32_t t36 = t35 ^ t3;
    const std::uint32_t t37 = t36 ^ t33;
    r0 = t18;
    r1 = t26;
    r2 = t32;
    r3 = t37;
}

// S1: 36 gates.
inline void Sb1(std::uint32_t& r0, std::uint32_t& r1, std::uint32_t& r2, std::uint32_t& r3) {
    const std::uint32_t t0 = r0, t1 = r1, t2 = r2, t3 = r3;
    const std::uint32_t t4 = t1 & t2;
    const std::uint32_t t5 = t0 & t3;
    const std::uint32_t t6 = t2 & t3;
    const std::uint32_t t7 = t0 & t2;
    const std::uint32_t t8 = t7 & t3;
    const std::uint32_t t9 = t4 & t3;
    const std::uint32_t t10 = t0 ^ t1;
    const std::uint32_t t11 = t10 ^ t4;
    const std::uint32_t t12 = t11 ^ t5;
    const std::uint32_t t13 = t12 ^ t6;
    const std::uint32_t t14 = t13 ^ t8;
    const std::uint32_t t15 = t14 ^ t9;
    const std::uint32_t t16 = ~t15;
    const std::uint32_t t17 = t0 & t1;
    const std::uint32_t t18 = t1 & t3;
    const std::uint32_t t19 = t17 & t3;
    const std::uint32_t t20 = t0 ^ t17;
    const std::uint32_t t21 = t20 ^ t2;
    const std::uint32_t t22 = t21 ^ t7;
    const std::uint32_t t23 = t22 ^ t3;
    const std::uint32_t t24 = t23 ^ t18;
    const std::uint32_t t25 = t24 ^ t19;
    const std::uint32_t t26 = t25 ^ t8;
    const std::uint32_t t27 = t26 ^ t9;
    const std::uint32_t t28 = ~t27;
    const std::uint32_t t29 = t1 ^ t17;
    const std::uint32_t t30 = t29 ^ t2;
    const std::uint32_t t31 = t30 ^ t3;
    const std::uint32_t t32 = ~t31;
    const std::uint32_t t33 = t1 ^ t7;
    const std::uint32_t t34 = t33 ^ t3;
    const std::uint32_t t35 = t34 ^ t5;
    const std::uint32_t t36 = t35 ^ t19;
    const std::uint32_t t37 = t36 ^ t8;
    const std::uint32_t t38 = t37 ^ t9;
    const std::uint32_t t39 = ~t38;
    r0 = t16;
    r1 = t28;
    r2 = t32;
    r3 = t39;
}

// S2: 32 gates.
inline void Sb2(std::uint32_t& r0, std::uint32_t& r1, std::uint32_t& r2, std::uint32_t& r3) {
    const std::uint32_t t0 = r0, t1 = r1, t2 = r2, t3 = r3;
    const std::uint32_t t4 = t0 & t2;
    const std::uint32_t t5 = t1 ^ t2;
    const std::uint32_t t6 = t5 ^ t4;
    const std::uint32_t t7 = t6 ^ t3;
    const std::uint32_t t8 = t1 & t2;
    const std::uint32_t t9 = t0 & t1;
    const std::uint32_t t10 = t9 & t2;
    const std::uint32_t t11 = t0 & t3;
    const std::uint32_t t12 = t9 & t3;
    const std::uint32_t t13 = t2 & t3;
    const std::uint32_t t14 = t4 & t3;
    const std::uint32_t t15 = t0 ^ t1;
    const std::uint32_t t16 = t15 ^ t2;
    const std::uint32_t t17 = t16 ^ t8;
    const std::uint32_t t18 = t17 ^ t10;
    const std::uint32_t t19 = t18 ^ t11;
    const std::uint32_t t20 = t19 ^ t12;
    const std::uint32_t t21 = t20 ^ t13;
    const std::uint32_t t22 = t21 ^ t14;
    const std::uint32_t t23 = t1 & t3;
    const std::uint32_t t24 = t0 ^ t1;
    const std::uint32_t t25 = t24 ^ t8;
    const std::uint32_t t26 = t25 ^ t3;
    const std::uint32_t t27 = t26 ^ t23;
    const std::uint32_t t28 = t27 ^ t12;
    const std::uint32_t t29 = t28 ^ t13;
    const std::uint32_t t30 = t29 ^ t14;
    const std::uint32_t t31 = t0 ^ t1;
    const std::uint32_t t32 = t31 ^ t2;
    const std::uint32_t t33 = t32 ^ t10;
    const std::uint32_t t34 = t33 ^ t23;
    const std::uint32_t t35 = ~t34;
    r0 = t7;
    r1 = t22;
    r2 = t30;
    r3 = t35;
}

// S3: 37 gates.
inline void Sb3(std::uint32_t& r0, std::uint32_t& r1, std::uint32_t& r2, std::uint32_t& r3) {
    const std::uint32_t t0 = r0, t1 = r1, t2 = r2, t3 = r3;
    const std::uint32_t t4 = t1 & t2;
    const std::uint32_t t5 = t0 & t3;
    const std::uint32_t t6 = t2 & t3;
    const std::uint32_t t7 = t0 & t2;
    const std::uint32_t t8 = t7 & t3;
    const std::uint32_t t9 = t4 & t3;
    const std::uint32_t t10 = t0 ^ t1;
    const std::uint32_t t11 = t10 ^ t4;
    const std::uint32_t t12 = t11 ^ t3;
    const std::uint32_t t13 = t12 ^ t5;
    const std::uint32_t t14 = t13 ^ t6;
    const std::uint32_t t15 = t14 ^ t8;
    const std::uint32_t t16 = t15 ^ t9;
    const std::uint32_t t17 = t0 & t1;
    const std::uint32_t t18 = t17 & t3;
    const std::uint32_t t19 = t0 ^ t1;
    const std::uint32_t t20 = t19 ^ t7;
    const std::uint32_t t21 = t20 ^ t5;
    const std::uint32_t t22 = t21 ^ t18;
    const std::uint32_t t23 = t22 ^ t6;
    const std::uint32_t t24 = t23 ^ t8;
    const std::uint32_t t25 = t17 & t2;
    const std::uint32_t t26 = t1 & t3;
    const std::uint32_t t27 = t0 ^ t17;
    const std::uint32_t t28 = t27 ^ t2;
    const std::uint32_t t29 = t28 ^ t25;
    const std::uint32_t t30 = t29 ^ t3;
    const std::uint32_t t31 = t30 ^ t26;
    const std::uint32_t t32 = t31 ^ t18;
    const std::uint32_t t33 = t0 ^ t1;
    const std::uint32_t t34 = t33 ^ t17;
    const std::uint32_t t35 = t34 ^ t2;
    const std::uint32_t t36 = t35 ^ t7;
    const std::uint32_t t37 = t36 ^ t25;
    const std::uint32_t t38 = t37 ^ t3;
    const std::uint32_t t39 = t38 ^ t6;
    const std::uint32_t t40 = t39 ^ t8;
    r0 = t16;
    r1 = t24;
    r2 = t32;
    r3 = t40;
}

// S4: 37 gates.
inline void Sb4(std::uint32_t& r0, std::uint32_t& r1, std::uint32_t& r2, std::uint32_t& r3) {
    const std::uint32_t t0 = r0, t1 = r1, t2 = r2, t3 = r3;
    const std::uint32_t t4 = t0 & t1;
    const std::uint32_t t5 = t0 & t3;
    const std::uint32_t t6 = t1 & t3;
    const std::uint32_t t7 = t1 ^ t4;
    const std::uint32_t t8 = t7 ^ t2;
    const std::uint32_t t9 = t8 ^ t3;
    const std::uint32_t t10 = t9 ^ t5;
    const std::uint32_t t11 = t10 ^ t6;
    const std::uint32_t t12 = ~t11;
    const std::uint32_t t13 = t0 & t2;
    const std::uint32_t t14 = t1 & t2;
    const std::uint32_t t15 = t2 & t3;
    const std::uint32_t t16 = t13 & t3;
    const std::uint32_t t17 = t14 & t3;
    const std::uint32_t t18 = t0 ^ t13;
    const std::uint32_t t19 = t18 ^ t14;
    const std::uint32_t t20 = t19 ^ t3;
    const std::uint32_t t21 = t20 ^ t6;
    const std::uint32_t t22 = t21 ^ t15;
    const std::uint32_t t23 = t22 ^ t16;
    const std::uint32_t t24 = t23 ^ t17;
    const std::uint32_t t25 = t4 & t2;
    const std::uint32_t t26 = t4 & t3;
    const std::uint32_t t27 = t0 ^ t4;
    const std::uint32_t t28 = t27 ^ t2;
    const std::uint32_t t29 = t28 ^ t14;
    const std::uint32_t t30 = t29 ^ t25;
    const std::uint32_t t31 = t30 ^ t6;
    const std::uint32_t t32 = t31 ^ t26;
    const std::uint32_t t33 = t32 ^ t15;
    const std::uint32_t t34 = t33 ^ t17;
    const std::uint32_t t35 = t0 ^ t1;
    const std::uint32_t t36 = t35 ^ t2;
    const std::uint32_t t37 = t36 ^ t14;
    const std::uint32_t t38 = t37 ^ t5;
    const std::uint32_t t39 = t38 ^ t6;
    const std::uint32_t t40 = t39 ^ t26;
    r0 = t12;
    r1 = t24;
    r2 = t34;
    r3 = t40;
}

// S5: 37 gates.
inline void Sb5(std::uint32_t& r0, std::uint32_t& r1, std::uint32_t& r2, std::uint32_t& r3) {
    const std::uint32_t t0 = r0, t1 = r1, t2 = r2, t3 = r3;
    const std::uint32_t t4 = t0 & t1;
    const std::uint32_t t5 = t0 & t3;
    const std::uint32_t t6 = t1 & t3;
    const std::uint32_t t7 = t1 ^ t4;
    const std::uint32_t t8 = t7 ^ t2;
    const std::uint32_t t9 = t8 ^ t3;
    const std::uint32_t t10 = t9 ^ t5;
    const std::uint32_t t11 = t10 ^ t6;
    const std::uint32_t t12 = ~t11;
    const std::uint32_t t13 = t4 & t3;
    const std::uint32_t t14 = t2 & t3;
    const std::uint32_t t15 = t0 ^ t4;
    const std::uint32_t t16 = t15 ^ t2;
    const std::uint32_t t17 = t16 ^ t3;
    const std::uint32_t t18 = t17 ^ t6;
    const std::uint32_t t19 = t18 ^ t13;
    const std::uint32_t t20 = t19 ^ t14;
    const std::uint32_t t21 = ~t20;
    const std::uint32_t t22 = t0 & t2;
    const std::uint32_t t23 = t22 & t3;
    const std::uint32_t t24 = t1 & t2;
    const std::uint32_t t25 = t24 & t3;
    const std::uint32_t t26 = t1 ^ t22;
    const std::uint32_t t27 = t26 ^ t3;
    const std::uint32_t t28 = t27 ^ t13;
    const std::uint32_t t29 = t28 ^ t14;
    const std::uint32_t t30 = t29 ^ t23;
    const std::uint32_t t31 = t30 ^ t25;
    const std::uint32_t t32 = ~t31;
    const std::uint32_t t33 = t4 & t2;
    const std::uint32_t t34 = t0 ^ t1;
    const std::uint32_t t35 = t34 ^ t2;
    const std::uint32_t t36 = t35 ^ t33;
    const std::uint32_t t37 = t36 ^ t3;
    const std::uint32_t t38 = t37 ^ t5;
    const std::uint32_t t39 = t38 ^ t23;
    const std::uint32_t t40 = ~t39;
    r0 = t12;
    r1 = t21;
    r2 = t32;
    r3 = t40;
}

// S6: 37 gates.
inline void Sb6(std::uint32_t& r0, std::uint32_t& r1, std::uint32_t& r2, std::uint32_t& r3) {
    const std::uint32_t t0 = r0, t1 = r1, t2 = r2, t3 = r3;
    const std::uint32_t t4 = t0 & t2;
    const std::uint32_t t5 = t1 & t2;
    const std::uint32_t t6 = t0 & t1;
    const std::uint32_t t7 = t6 & t2;
    const std::uint32_t t8 = t6 & t3;
    const std::uint32_t t9 = t5 & t3;
    const std::uint32_t t10 = t0 ^ t1;
    const std::uint32_t t11 = t10 ^ t2;
    const std::uint32_t t12 = t11 ^ t4;
    const std::uint32_t t13 = t12 ^ t5;
    const std::uint32_t t14 = t13 ^ t7;
    const std::uint32_t t15 = t14 ^ t3;
    const std::uint32_t t16 = t15 ^ t8;
    const std::uint32_t t17 = t16 ^ t9;
    const std::uint32_t t18 = ~t17;
    const std::uint32_t t19 = t0 & t3;
    const std::uint32_t t20 = t1 ^ t2;
    const std::uint32_t t21 = t20 ^ t19;
    const std::uint32_t t22 = ~t21;
    const std::uint32_t t23 = t1 & t3;
    const std::uint32_t t24 = t2 & t3;
    const std::uint32_t t25 = t0 ^ t6;
    const std::uint32_t t26 = t25 ^ t2;
    const std::uint32_t t27 = t26 ^ t5;
    const std::uint32_t t28 = t27 ^ t7;
    const std::uint32_t t29 = t28 ^ t23;
    const std::uint32_t t30 = t29 ^ t8;
    const std::uint32_t t31 = t30 ^ t24;
    const std::uint32_t t32 = t31 ^ t9;
    const std::uint32_t t33 = ~t32;
    const std::uint32_t t34 = t1 ^ t6;
    const std::uint32_t t35 = t34 ^ t2;
    const std::uint32_t t36 = t35 ^ t4;
    const std::uint32_t t37 = t36 ^ t7;
    const std::uint32_t t38 = t37 ^ t3;
    const std::uint32_t t39 = t38 ^ t24;
    const std::uint32_t t40 = t39 ^ t9;
    r0 = t18;
    r1 = t22;
    r2 = t33;
    r3 = t40;
}

// S7: 38 gates.
inline void Sb7(std::uint32_t& r0, std::uint32_t& r1, std::uint32_t& r2, std::uint32_t& r3) {
    const std::uint32_t t0 = r0, t1 = r1, t2 = r2, t3 = r3;
    const std::uint32_t t4 = t0 & t1;
    const std::uint32_t t5 = t0 & t3;
    const std::uint32_t t6 = t1 & t3;
    const std::uint32_t t7 = t2 & t3;
    const std::uint32_t t8 = t0 & t2;
    const std::uint32_t t9 = t8 & t3;
    const std::uint32_t t10 = t1 & t2;
    const std::uint32_t t11 = t10 & t3;
    const std::uint32_t t12 = t4 ^ t2;
    const std::uint32_t t13 = t12 ^ t5;
    const std::uint32_t t14 = t13 ^ t6;
    const std::uint32_t t15 = t14 ^ t7;
    const std::uint32_t t16 = t15 ^ t9;
    const std::uint32_t t17 = t16 ^ t11;
    const std::uint32_t t18 = ~t17;
    const std::uint32_t t19 = t4 & t3;
    const std::uint32_t t20 = t1 ^ t4;
    const std::uint32_t t21 = t20 ^ t2;
    const std::uint32_t t22 = t21 ^ t8;
    const std::uint32_t t23 = t22 ^ t10;
    const std::uint32_t t24 = t23 ^ t3;
    const std::uint32_t t25 = t24 ^ t5;
    const std::uint32_t t26 = t25 ^ t19;
    const std::uint32_t t27 = t26 ^ t9;
    const std::uint32_t t28 = t4 & t2;
    const std::uint32_t t29 = t0 ^ t1;
    const std::uint32_t t30 = t29 ^ t2;
    const std::uint32_t t31 = t30 ^ t28;
    const std::uint32_t t32 = t31 ^ t3;
    const std::uint32_t t33 = t32 ^ t5;
    const std::uint32_t t34 = t33 ^ t6;
    const std::uint32_t t35 = t34 ^ t19;
    const std::uint32_t t36 = t35 ^ t11;
    const std::uint32_t t37 = t0 ^ t1;
    const std::uint32_t t38 = t37 ^ t2;
    const std::uint32_t t39 = t38 ^ t8;
    const std::uint32_t t40 = t39 ^ t28;
    const std::uint32_t t41 = t40 ^ t5;
    r0 = t18;
    r1 = t27;
    r2 = t36;
    r3 = t41;
}

// InvS0: 36 gates.
inline void Si0(std::uint32_t& r0, std::uint32_t& r1, std::uint32_t& r2, std::uint32_t& r3) {
    const std::uint32_t t0 = r0, t1 = r1, t2 = r2, t3 = r3;
    const std::uint32_t t4 = t0 & t1;
    const std::uint32_t t5 = t1 & t2;
    const std::uint32_t t6 = t0 & t3;
    const std::uint32_t t7 = t1 & t3;
    const std::uint32_t t8 = t4 & t3;
    const std::uint32_t t9 = t2 & t3;
    const std::uint32_t t10 = t0 & t2;
    const std::uint32_t t11 = t10 & t3;
    const std::uint32_t t12 = t5 & t3;
    const std::uint32_t t13 = t4 ^ t2;
    const std::uint32_t t14 = t13 ^ t5;
    const std::uint32_t t15 = t14 ^ t6;
    const std::uint32_t t16 = t15 ^ t7;
    const std::uint32_t t17 = t16 ^ t8;
    const std::uint32_t t18 = t17 ^ t9;
    const std::uint32_t t19 = t18 ^ t11;
    const std::uint32_t t20 = t19 ^ t12;
    const std::uint32_t t21 = ~t20;
    const std::uint32_t t22 = t0 ^ t1;
    const std::uint32_t t23 = t22 ^ t2;
    const std::uint32_t t24 = t23 ^ t10;
    const std::uint32_t t25 = t24 ^ t7;
    const std::uint32_t t26 = t25 ^ t11;
    const std::uint32_t t27 = t26 ^ t12;
    const std::uint32_t t28 = t0 ^ t1;
    const std::uint32_t t29 = t28 ^ t4;
    const std::uint32_t t30 = t29 ^ t2;
    const std::uint32_t t31 = t30 ^ t3;
    const std::uint32_t t32 = ~t31;
    const std::uint32_t t33 = t0 ^ t5;
    const std::uint32_t t34 = t33 ^ t3;
    const std::uint32_t t35 = t34 ^ t8;
    const std::uint32_t t36 = t35 ^ t9;
    const std::uint32_t t37 = t36 ^ t11;
    const std::uint32_t t38 = t37 ^ t12;
    const std::uint32_t t39 = ~t38;
    r0 = t21;
    r1 = t27;
    r2 = t32;
    r3 = t39;
}

// InvS1: 32 gates.
inline void Si1(std::uint32_t& r0, std::uint32_t& r1, std::uint32_t& r2, std::uint32_t& r3) {
    const std::uint32_t t0 = r0, t1 = r1, t2 = r2, t3 = r3;
    const std::uint32_t t4 = t0 & t1;
    const std::uint32_t t5 = t4 & t2;
    const std::uint32_t t6 = t1 & t3;
    const std::uint32_t t7 = t0 & t2;
    const std::uint32_t t8 = t7 & t3;
    const std::uint32_t t9 = t1 & t2;
    const std::uint32_t t10 = t9 & t3;
    const std::uint32_t t11 = t0 ^ t1;
    const std::uint32_t t12 = t11 ^ t4;
    const std::uint32_t t13 = t12 ^ t5;
    const std::uint32_t t14 = t13 ^ t6;
    const std::uint32_t t15 = t14 ^ t8;
    const std::uint32_t t16 = t15 ^ t10;
    const std::uint32_t t17 = ~t16;
    const std::uint32_t t18 = t0 & t3;
    const std::uint32_t t19 = t1 ^ t2;
    const std::uint32_t t20 = t19 ^ t5;
    const std::uint32_t t21 = t20 ^ t3;
    const std::uint32_t t22 = t21 ^ t18;
    const std::uint32_t t23 = t22 ^ t6;
    const std::uint32_t t24 = t23 ^ t8;
    const std::uint32_t t25 = t24 ^ t10;
    const std::uint32_t t26 = t0 ^ t1;
    const std::uint32_t t27 = t26 ^ t7;
    const std::uint32_t t28 = t27 ^ t9;
    const std::uint32_t t29 = t28 ^ t5;
    const std::uint32_t t30 = t29 ^ t3;
    const std::uint32_t t31 = t30 ^ t8;
    const std::uint32_t t32 = ~t31;
    const std::uint32_t t33 = t0 ^ t2;
    const std::uint32_t t34 = t33 ^ t3;
    const std::uint32_t t35 = t34 ^ t6;
    r0 = t17;
    r1 = t25;
    r2 = t32;
    r3 = t35;
}

// InvS2: 32 gates.
inline void Si2(std::uint32_t& r0, std::uint32_t& r1, std::uint32_t& r2, std::uint32_t& r3) {
    const std::uint32_t t0 = r0, t1 = r1, t2 = r2, t3 = r3;
    const std::uint32_t t4 = t1 & t2;
    const std::uint32_t t5 = t1 & t3;
    const std::uint32_t t6 = t0 ^ t1;
    const std::uint32_t t7 = t6 ^ t2;
    const std::uint32_t t8 = t7 ^ t4;
    const std::uint32_t t9 = t8 ^ t5;
    const std::uint32_t t10 = t0 & t1;
    const std::uint32_t t11 = t0 & t3;
    const std::uint32_t t12 = t10 & t3;
    const std::uint32_t t13 = t2 & t3;
    const std::uint32_t t14 = t0 & t2;
    const std::uint32_t t15 = t14 & t3;
    const std::uint32_t t16 = t1 ^ t10;
    const std::uint32_t t17 = t16 ^ t2;
    const std::uint32_t t18 = t17 ^ t11;
    const std::uint32_t t19 = t18 ^ t12;
    const std::uint32_t t20 = t19 ^ t13;
    const std::uint32_t t21 = t20 ^ t15;
    const std::uint32_t t22 = t0 ^ t10;
    const std::uint32_t t23 = t22 ^ t2;
    const std::uint32_t t24 = t23 ^ t3;
    const std::uint32_t t25 = t24 ^ t11;
    const std::uint32_t t26 = t25 ^ t5;
    const std::uint32_t t27 = t26 ^ t12;
    const std::uint32_t t28 = t27 ^ t15;
    const std::uint32_t t29 = ~t28;
    const std::uint32_t t30 = t10 & t2;
    const std::uint32_t t31 = t10 ^ t4;
    const std::uint32_t t32 = t31 ^ t30;
    const std::uint32_t t33 = t32 ^ t3;
    const std::uint32_t t34 = t33 ^ t15;
    const std::uint32_t t35 = ~t34;
    r0 = t9;
    r1 = t21;
    r2 = t29;
    r3 = t35;
}

// InvS3: 37 gates.
inline void Si3(std::uint32_t& r0, std::uint32_t& r1, std::uint32_t& r2, std::uint32_t& r3) {
    const std::uint32_t t0 = r0, t1 = r1, t2 = r2, t3 = r3;
    const std::uint32_t t4 = t1 & t2;
    const std::uint32_t t5 = t0 & t3;
    const std::uint32_t t6 = t1 & t3;
    const std::uint32_t t7 = t4 & t3;
    const std::uint32_t t8 = t0 ^ t2;
    const std::uint32_t t9 = t8 ^ t4;
    const std::uint32_t t10 = t9 ^ t3;
    const std::uint32_t t11 = t10 ^ t5;
    const std::uint32_t t12 = t11 ^ t6;
    const std::uint32_t t13 = t12 ^ t7;
    const std::uint32_t t14 = t0 & t1;
    const std::uint32_t t15 = t14 & t2;
    const std::uint32_t t16 = t0 & t2;
    const std::uint32_t t17 = t16 & t3;
    const std::uint32_t t18 = t1 ^ t2;
    const std::uint32_t t19 = t18 ^ t4;
    const std::uint32_t t20 = t19 ^ t15;
    const std::uint32_t t21 = t20 ^ t3;
    const std::uint32_t t22 = t21 ^ t5;
    const std::uint32_t t23 = t22 ^ t17;
    const std::uint32_t t24 = t23 ^ t7;
    const std::uint32_t t25 = t14 & t3;
    const std::uint32_t t26 = t2 & t3;
    const std::uint32_t t27 = t14 ^ t16;
    const std::uint32_t t28 = t27 ^ t4;
    const std::uint32_t t29 = t28 ^ t5;
    const std::uint32_t t30 = t29 ^ t6;
    const std::uint32_t t31 = t30 ^ t25;
    const std::uint32_t t32 = t31 ^ t26;
    const std::uint32_t t33 = t32 ^ t17;
    const std::uint32_t t34 = t0 ^ t1;
    const std::uint32_t t35 = t34 ^ t2;
    const std::uint32_t t36 = t35 ^ t16;
    const std::uint32_t t37 = t36 ^ t15;
    const std::uint32_t t38 = t37 ^ t5;
    const std::uint32_t t39 = t38 ^ t25;
    const std::uint32_t t40 = t39 ^ t26;
    r0 = t13;
    r1 = t24;
    r2 = t33;
    r3 = t40;
}

// InvS4: 35 gates.
inline void Si4(std::uint32_t& r0, std::uint32_t& r1, std::uint32_t& r2, std::uint32_t& r3) {
    const std::uint32_t t0 = r0, t1 = r1, t2 = r2, t3 = r3;
    const std::uint32_t t4 = t0 & t3;
    const std::uint32_t t5 = t0 & t1;
    const std::uint32_t t6 = t5 & t3;
    const std::uint32_t t7 = t2 & t3;
    const std::uint32_t t8 = t0 & t2;
    const std::uint32_t t9 = t8 & t3;
    const std::uint32_t t10 = t0 ^ t1;
    const std::uint32_t t11 = t10 ^ t2;
    const std::uint32_t t12 = t11 ^ t3;
    const std::uint32_t t13 = t12 ^ t4;
    const std::uint32_t t14 = t13 ^ t6;
    const std::uint32_t t15 = t14 ^ t7;
    const std::uint32_t t16 = t15 ^ t9;
    const std::uint32_t t17 = ~t16;
    const std::uint32_t t18 = t5 ^ t2;
    const std::uint32_t t19 = t18 ^ t8;
    const std::uint32_t t20 = t19 ^ t3;
    const std::uint32_t t21 = t20 ^ t4;
    const std::uint32_t t22 = t21 ^ t9;
    const std::uint32_t t23 = t5 & t2;
    const std::uint32_t t24 = t1 & t3;
    const std::uint32_t t25 = t0 ^ t1;
    const std::uint32_t t26 = t25 ^ t5;
    const std::uint32_t t27 = t26 ^ t2;
    const std::uint32_t t28 = t27 ^ t8;
    const std::uint32_t t29 = t28 ^ t23;
    const std::uint32_t t30 = t29 ^ t3;
    const std::uint32_t t31 = t30 ^ t24;
    const std::uint32_t t32 = t31 ^ t6;
    const std::uint32_t t33 = ~t32;
    const std::uint32_t t34 = t1 ^ t5;
    const std::uint32_t t35 = t34 ^ t2;
    const std::uint32_t t36 = t35 ^ t4;
    const std::uint32_t t37 = t36 ^ t6;
    const std::uint32_t t38 = t37 ^ t7;
    r0 = t17;
    r1 = t22;
    r2 = t33;
    r3 = t38;
}

// InvS5: 28 gates.
inline void Si5(std::uint32_t& r0, std::uint32_t& r1, std::uint32_t& r2, std::uint32_t& r3) {
    const std::uint32_t t0 = r0, t1 = r1, t2 = r2, t3 = r3;
    const std::uint32_t t4 = t1 & t2;
    const std::uint32_t t5 = t0 & t1;
    const std::uint32_t t6 = t5 & t3;
    const std::uint32_t t7 = t0 ^ t4;
    const std::uint32_t t8 = t7 ^ t3;
    const std::uint32_t t9 = t8 ^ t6;
    const std::uint32_t t10 = t0 & t2;
    const std::uint32_t t11 = t5 & t2;
    const std::uint32_t t12 = t0 & t3;
    const std::uint32_t t13 = t0 ^ t1;
    const std::uint32_t t14 = t13 ^ t10;
    const std::uint32_t t15 = t14 ^ t4;
    const std::uint32_t t16 = t15 ^ t11;
    const std::uint32_t t17 = t16 ^ t3;
    const std::uint32_t t18 = t17 ^ t12;
    const std::uint32_t t19 = t18 ^ t6;
    const std::uint32_t t20 = t1 & t3;
    const std::uint32_t t21 = t10 & t3;
    const std::uint32_t t22 = t0 ^ t5;
    const std::uint32_t t23 = t22 ^ t2;
    const std::uint32_t t24 = t23 ^ t20;
    const std::uint32_t t25 = t24 ^ t6;
    const std::uint32_t t26 = t25 ^ t21;
    const std::uint32_t t27 = t1 ^ t5;
    const std::uint32_t t28 = t27 ^ t2;
    const std::uint32_t t29 = t28 ^ t11;
    const std::uint32_t t30 = t29 ^ t12;
    const std::uint32_t t31 = ~t30;
    r0 = t9;
    r1 = t19;
    r2 = t26;
    r3 = t31;
}

// InvS6: 38 gates.
inline void Si6(std::uint32_t& r0, std::uint32_t& r1, std::uint32_t& r2, std::uint32_t& r3) {
    const std::uint32_t t0 = r0, t1 = r1, t2 = r2, t3 = r3;
    const std::uint32_t t4 = t0 & t1;
    const std::uint32_t t5 = t0 & t2;
    const std::uint32_t t6 = t1 & t2;
    const std::uint32_t t7 = t4 & t2;
    const std::uint32_t t8 = t4 & t3;
    const std::uint32_t t9 = t6 & t3;
    const std::uint32_t t10 = t0 ^ t4;
    const std::uint32_t t11 = t10 ^ t5;
    const std::uint32_t t12 = t11 ^ t6;
    const std::uint32_t t13 = t12 ^ t7;
    const std::uint32_t t14 = t13 ^ t3;
    const std::uint32_t t15 = t14 ^ t8;
    const std::uint32_t t16 = t15 ^ t9;
    const std::uint32_t t17 = ~t16;
    const std::uint32_t t18 = t1 ^ t2;
    const std::uint32_t t19 = t18 ^ t5;
    const std::uint32_t t20 = t19 ^ t3;
    const std::uint32_t t21 = ~t20;
    const std::uint32_t t22 = t1 & t3;
    const std::uint32_t t23 = t2 & t3;
    const std::uint32_t t24 = t0 ^ t1;
    const std::uint32_t t25 = t24 ^ t6;
    const std::uint32_t t26 = t25 ^ t22;
    const std::uint32_t t27 = t26 ^ t8;
    const std::uint32_t t28 = t27 ^ t23;
    const std::uint32_t t29 = t28 ^ t9;
    const std::uint32_t t30 = ~t29;
    const std::uint32_t t31 = t0 & t3;
    const std::uint32_t t32 = t1 ^ t4;
    const std::uint32_t t33 = t32 ^ t2;
    const std::uint32_t t34 = t33 ^ t6;
    const std::uint32_t t35 = t34 ^ t7;
    const std::uint32_t t36 = t35 ^ t3;
    const std::uint32_t t37 = t36 ^ t31;
    const std::uint32_t t38 = t37 ^ t8;
    const std::uint32_t t39 = t38 ^ t23;
    const std::uint32_t t40 = t39 ^ t9;
    const std::uint32_t t41 = ~t40;
    r0 = t17;
    r1 = t21;
    r2 = t30;
    r3 = t41;
}

// InvS7: 35 gates.
inline void Si7(std::uint32_t& r0, std::uint32_t& r1, std::uint32_t& r2, std::uint32_t& r3) {
    const std::uint32_t t0 = r0, t1 = r1, t2 = r2, t3 = r3;
    const std::uint32_t t4 = t1 & t2;
    const std::uint32_t t5 = t1 & t3;
    const std::uint32_t t6 = t0 & t1;
    const std::uint32_t t7 = t6 & t3;
    const std::uint32_t t8 = t2 & t3;
    const std::uint32_t t9 = t4 & t3;
    const std::uint32_t t10 = t0 ^ t1;
    const std::uint32_t t11 = t10 ^ t4;
    const std::uint32_t t12 = t11 ^ t5;
    const std::uint32_t t13 = t12 ^ t7;
    const std::uint32_t t14 = t13 ^ t8;
    const std::uint32_t t15 = t14 ^ t9;
    const std::uint32_t t16 = ~t15;
    const std::uint32_t t17 = t0 & t3;
    const std::uint32_t t18 = t0 & t2;
    const std::uint32_t t19 = t18 & t3;
    const std::uint32_t t20 = t0 ^ t2;
    const std::uint32_t t21 = t20 ^ t4;
    const std::uint32_t t22 = t21 ^ t3;
    const std::uint32_t t23 = t22 ^ t17;
    const std::uint32_t t24 = t23 ^ t5;
    const std::uint32_t t25 = t24 ^ t19;
    const std::uint32_t t26 = t25 ^ t9;
    const std::uint32_t t27 = ~t26;
    const std::uint32_t t28 = t1 ^ t18;
    const std::uint32_t t29 = t28 ^ t3;
    const std::uint32_t t30 = t29 ^ t7;
    const std::uint32_t t31 = t30 ^ t8;
    const std::uint32_t t32 = t31 ^ t19;
    const std::uint32_t t33 = t6 & t2;
    const std::uint32_t t34 = t6 ^ t2;
    const std::uint32_t t35 = t34 ^ t33;
    const std::uint32_t t36 = t35 ^ t17;
    const std::uint32_t t37 = t36 ^ t5;
    const std::uint32_t t38 = t37 ^ t7;
    r0 = t16;
    r1 = t27;
    r2 = t32;
    r3 = t38;
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

#define SERPENT_LT          \
    a = Rotl32(a, 13);      \
    c = Rotl32(c, 3);       \
    b ^= a ^ c;             \
    d ^= c ^ (a << 3);      \
    b = Rotl32(b, 1);       \
    d = Rotl32(d, 7);       \
    a ^= b ^ d;             \
    c ^= d ^ (b << 7);      \
    a = Rotl32(a, 5);       \
    c = Rotl32(c, 22);

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

#define SERPENT_ROUND(r, s) \
    SERPENT_KEY(r)          \
    s(a, b, c, d);          \
    SERPENT_LT

#define SERPENT_IROUND(r, s) \
    SERPENT_ILT              \
    s(a, b, c, d);           \
    SERPENT_KEY(r)

void TVC_serpent::Encrypt(const std::uint8_t* in, std::uint8_t* out) const {
    const std::uint32_t* k = SubKey.v;
    std::uint32_t a = LoadLE32(in), b = LoadLE32(in + 4), c = LoadLE32(in + 8), d = LoadLE32(in + 12);
    for (int r = 0; r < 24; r += 8) {
        SERPENT_ROUND(r, Sb0)
        SERPENT_ROUND(r + 1, Sb1)
        SERPENT_ROUND(r + 2, Sb2)
        SERPENT_ROUND(r + 3, Sb3)
        SERPENT_ROUND(r + 4, Sb4)
        SERPENT_ROUND(r + 5, Sb5)
        SERPENT_ROUND(r + 6, Sb6)
        SERPENT_ROUND(r + 7, Sb7)
    }
    SERPENT_ROUND(24, Sb0)
    SERPENT_ROUND(25, Sb1)
    SERPENT_ROUND(26, Sb2)
    SERPENT_ROUND(27, Sb3)
    SERPENT_ROUND(28, Sb4)
    SERPENT_ROUND(29, Sb5)
    SERPENT_ROUND(30, Sb6)
    SERPENT_KEY(31)
    Sb7(a, b, c, d);
    SERPENT_KEY(32)
    StoreLE32(out, a);
    StoreLE32(out + 4, b);
    StoreLE32(out + 8, c);
    StoreLE32(out + 12, d);
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
#undef SERPENT_LT
#undef SERPENT_ILT
#undef SERPENT_ROUND
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

void TVC_serpent::Wipe() {
    SubKey.Fill(0x00);
    TVC_blockcipher128::Wipe();
}

bool TVC_serpent::RunSelfTest() const {
    return RunBlockSelfTest<TVC_serpent>({
        {"FFEEDDCCBBAA99887766554433221100", "1032547698BADCFEEFCDAB8967452301", "D5BAA00A4BB9D8A7C981C8DC90D89D92"},
        {"8899AABBCCDDEEFFFFEEDDCCBBAA99887766554433221100", "1032547698BADCFEEFCDAB8967452301",
         "DA860842B720802BF404A4C71034879A"},
    });
}

}  // namespace vantrel
