# Kestrels: a Twenty20 side; big hitters at the top, spin in the middle overs
# name batTempo batRisk batSurvival isKeeper isBowler bowlTempo bowlThreat bowlStyle
# bowlStyle: 0 pace, 1 spin, 2 neutral
Kestrels
Abbott       1070 115  496 0 0   0   0 0
Blaney       1060 120  480 0 0   0   0 0
Corrie       1090 125  512 0 1 260  80 2
Darwen       1080 125  480 0 0   0   0 0
Egerton      1100 135  448 0 1 280  90 1
Fenwick      1090 145  432 1 0   0   0 0
Garside      1050 155   24 0 1 320 110 1
Hebden       1010 175   19 0 1 340 120 0
Ilkley        970 195   15 0 1 350 125 0
Jervis        930 215   11 0 1 360 130 0
Kirkham       910 225    9 0 0   0   0 0
