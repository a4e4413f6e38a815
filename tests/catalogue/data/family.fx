Plotcraftsman        
1004
F1
T
A*T

A,
0
0

1

A*T

1


A,

5
0
0
200
G
T
SIN(T)


65280
0

1

SIN(T)

1




1
1
0
200
*****
0
0
1
0
1
1
F1
G
1
1
1
200
0
1
§§§§§
1
A
1
1
10
5
Parametertables/ParameterList1.fx1
0
3
1
2
3
4
%%%%%
0
10
0
10
0
10
0
2
0
573736
