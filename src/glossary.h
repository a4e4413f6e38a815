#pragma once
// The German names the code keeps from the program's own vocabulary, as its files,
// dumps and earlier documentation use them, with their meaning. Each is spelt one way
// everywhere; "ue" stands for "ü" in identifiers. Nothing here is code.
//
// Functions and plot items
//   TFunktion               a user function, e.g. F1(X)=SIN(X)*X+1
//   Funktionsname           its name (F1)
//   Term                    its right-hand side as typed
//   Flatterm                the compiled term as text, calls of other functions expanded
//   UserFunktionen          the functions the term calls directly
//   BenutzteFunktionen      every function it uses, at any depth
//   FunktionWirdGenutztVon  the functions that use it
//   Parametercount          the number of combinations of its parameters' values
//   Stuetzstellenzahl       the calculation points a new item of the function starts with
//   TFktItem                a plot item: one curve (or family) of the display list
//   FktTyp                  the item type: fty y = f(x), ftxtyt x(t), y(t), ftfxy f(x, y) = 0
//   Funktion1, Funktion2    the item's function, or its x(t) and y(t) functions
//   Stuetzstellen           calculation points: where a curve is sampled
//   Schrittweite            the step between calculation points (in log10 units on a
//                           logarithmic axis)
//   Darstellung             the item is shown
//   Referenz                the item is the reference curve the view fits
//   FeldListenListeM / P    the item's point arrays for the main plot / the preview
//   TFeldfty, TFeldftxtyt   a point of an fty / ftxtyt item
//   sok, sdestroy           a function's status: in the list / being deleted
//
// Line styles (one name each, for functions and items alike)
//   Farbe                   colour
//   Pentyp                  pen style (the function's "Linienart" in dumps and files)
//   LinienBreite            line width in pixels ("Strichstärke")
//   PunkteMarkierung        display mode: how points are drawn ("Punktemarkierung")
//   bmverbunden, bmallePunkte, bmhisto
//                           joined by lines, points alone, histogram bars
//   bmKreise, bmDreiecke, bmQuadrate, bmKreuz, bmQuadratKreuz
//                           markers: circles, triangles, squares, crosses, crossed squares
//
// Exports
//   Wertetabelle            value table (.tfx); Funktionstyp, Parameteranzahl and
//                           "Anzahl der Stützstellen" are lines of the function info (.fif)
