# Invicta: a strong side: deep batting, sharp bowling
# name batTempo batRisk batSurvival isKeeper isBowler bowlTempo bowlThreat bowlStyle
# bowlStyle: 0 pace, 1 spin, 2 neutral
Invicta
Aldergrove   490  70  713 0 0   0   0 0
Bexhill      480  75  690 0 0   0   0 0
Cranford     510  80  736 0 1 260 105 2
Dunstable    500  80  690 0 0   0   0 0
Eastleigh    520  90  644 0 1 280 115 1
Farnham      510 100  621 1 0   0   0 0
Grantham     470 110   27 0 1 320 135 1
Hexham       430 130   21 0 1 340 145 0
Ilkley       390 150   17 0 1 350 150 0
Jarrow       350 170   12 0 1 360 155 0
Keswick      330 180   10 0 0   0   0 0
