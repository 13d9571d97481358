# Harrowby: a weak side: loose batting, gentle bowling
# name batTempo batRisk batSurvival isKeeper isBowler bowlTempo bowlThreat bowlStyle
# bowlStyle: 0 pace, 1 spin, 2 neutral
Harrowby
Lydd         400 125  488 0 0   0   0 0
Mundesley    420 130  480 0 0   0   0 0
Nairn        430 125  504 0 0   0   0 0
Otley        440 135  472 0 1 270  60 1
Penrith      420 145  448 1 0   0   0 0
Quorn        430 150  416 0 1 290  70 2
Rye          400 160   18 0 1 310  80 1
Selby        340 180   14 0 1 350 100 0
Thirsk       310 195   12 0 1 355 103 0
Ulverston    280 215    9 0 1 360 107 0
Wigton       260 225    8 0 1 365 110 0
