#pragma once

class ARMusic;
class ScorePictures;

// How much a layout of the music would make, roughly, in units of about a hundred bytes: the
// elements of every object and range, the staves and voice states every possible break keeps
// and every new system repeats, the elements each range holds and carries over breaks, the
// marks ranges put on every event they cover, and the sorting of many voices' elements into
// shared springs. A short text can ask for millions of
// them (a measure of a note's length in a tiny meter, ranges nested thousands deep, hundreds of
// staves broken thousands of times, thousands of voices), so the layout refuses music above
// GRMusic::sMaxLayoutWork.
double EstimatedLayoutWork(ARMusic const& music);
// The same with the pictures the music's picture marks show, which the score reads once and holds
// while it lives: each is weighed from its file before it is read and taken while the work stays
// within `limit`, and one that would take it beyond is left out, so that the music is drawn
// without it. Music beyond the limit on its own takes no picture.
double EstimatedLayoutWork(ARMusic const& music, ScorePictures& pictures, double limit);
// The layout work of reading and holding a picture of so many pixels.
double PictureWork(double pixels);
