Carvestone Project File Version 1.0
data\global\excel\Weapons.txt
;a comment

data\global\excel\Armor.txt
