Plotcraftsman        
1004
F1
X
A*SIN(X)

A,
12603392
0

2

A*SIN(X)

1


A,

4
0
0
200
*****
12603392
0
2
0
1
0
F1
nil
0
1
1
200
0.100502512562814
1
§§§§§
1
A
0
1
10
5
/usr/share/plotcraftsman/Parametertables/ParameterList1.fx1
0
4
1
0.5
1
2
3
%%%%%
-10
10
-3.5
3.5
-10
10
0
0
0
705298
