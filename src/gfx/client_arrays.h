// Array draws among drawers that leave client arrays on with stale pointers:
// turns on the vertex array and the ones a batch needs, turns the colour array
// off, and puts back what was on before when the batch's scope ends.
#pragma once

class ClientArrays {
public:
    ClientArrays(bool normals, bool texCoords);
    ~ClientArrays();
    ClientArrays(const ClientArrays&) = delete;
    ClientArrays& operator=(const ClientArrays&) = delete;

private:
    bool wasOn_[4];
};
