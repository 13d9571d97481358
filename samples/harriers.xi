# Harriers: a Twenty20 side; pace-heavy, batting deep
# name batTempo batRisk batSurvival isKeeper isBowler bowlTempo bowlThreat bowlStyle
# bowlStyle: 0 pace, 1 spin, 2 neutral
Harriers
Lacey        1060 120  488 0 0   0   0 0
Mottram      1080 125  480 0 0   0   0 0
Nuttall      1090 120  504 0 0   0   0 0
Ormerod      1100 130  472 0 1 270  85 1
Pickles      1080 140  448 1 0   0   0 0
Quayle       1090 145  416 0 1 290  95 2
Rishton      1060 155   23 0 1 310 105 1
Slater       1000 175   18 0 1 350 125 0
Tattersall    970 190   15 0 1 355 128 0
Unsworth      940 210   12 0 1 360 132 0
Varley        920 220   10 0 1 365 135 0
