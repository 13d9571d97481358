# Harbour: a batting side for the tests. Not a sample: the tests' golden
# reports depend on these ratings, so change them only with the goldens.
# name batTempo batRisk batSurvival isKeeper isBowler bowlTempo bowlThreat bowlStyle
Harbour
Abbot       430 95  640 0 0 0   0   0
Barrow      420 100 620 0 0 0   0   0
Cresswell   450 105 600 0 1 250 80  2
Dymock      440 100 610 0 0 0   0   0
Eastleigh   460 115 560 0 1 270 85  1
Foxton      430 120 520 1 0 0   0   0
Garside     390 135 470 0 1 310 105 1
Haverhill   350 150 380 0 1 335 118 0
Ilkley      320 170 300 0 1 345 124 0
Jarrow      290 185 230 0 1 355 128 0
Kendal      260 200 170 0 0 0   0   0
