Plotcraftsman        
1004
F1
X
SIN(X)*A

A,
0
0

1

SIN(X)*A

1


A,

3
0
0
200
G
T
COS(T)


65280
0

1

COS(T)

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
255
F1
G
0
1
0
200
0
1
65280
0
1
0
1
0
G
nil
1
1
0
200
0
0
§§§§§
1
A
0
1
10
5
Parametertables/ParameterList1.fx1
0
3
1
1
2
3
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
750921
