#pragma once

// The eighteen ciphers, in the order of the algorithm box. The algorithm registry, the tests'
// catalogue and anything else that lists every cipher take their list from here, so a cipher
// is added in one place.
#include "crypto/ciphers/Blowfish.h"
#include "crypto/ciphers/Cast128.h"
#include "crypto/ciphers/Cast256.h"
#include "crypto/ciphers/Des.h"
#include "crypto/ciphers/Ice.h"
#include "crypto/ciphers/Idea.h"
#include "crypto/ciphers/Mars.h"
#include "crypto/ciphers/Misty1.h"
#include "crypto/ciphers/Rc2.h"
#include "crypto/ciphers/Rc5.h"
#include "crypto/ciphers/Rc6.h"
#include "crypto/ciphers/Rijndael.h"
#include "crypto/ciphers/Serpent.h"
#include "crypto/ciphers/Tea.h"
#include "crypto/ciphers/Twofish.h"

// X(class, tag, box text): the class, the three bytes that open its .enc files, and the
// text of its entry in the algorithm box.
#define VANTREL_FOR_EACH_CIPHER(X)        \
    X(TVC_blowfish, "BFS", "Blowfish")    \
    X(TVC_cast128, "CS1", "CAST-128")     \
    X(TVC_cast256, "CS2", "CAST-256")     \
    X(TVC_des, "DES", "DES")              \
    X(TVC_3des, "3DE", "3DES")            \
    X(TVC_ice, "ICE", "ICE")              \
    X(TVC_thinice, "TIC", "Thin ICE")     \
    X(TVC_ice2, "IC2", "ICE2")            \
    X(TVC_idea, "IDE", "IDEA")            \
    X(TVC_mars, "MAR", "MARS")            \
    X(TVC_misty1, "MI1", "MISTY 1")       \
    X(TVC_rc2, "RC2", "RC2")              \
    X(TVC_rc5, "RC5", "RC5")              \
    X(TVC_rc6, "RC6", "RC6")              \
    X(TVC_rijndael, "RIJ", "RIJNDAEL")    \
    X(TVC_serpent, "SER", "Serpent")      \
    X(TVC_tea, "TEA", "TEA")              \
    X(TVC_twofish, "TFS", "TWOFISH")
