// Normalised weights of a Gaussian with sigma 2 at distances 0 to 4 texels.
const int GAUSSIAN_RADIUS = 4;
const float GAUSSIAN_WEIGHTS[5] = float[5](0.2041637, 0.1801738, 0.1238315, 0.0662822, 0.0276306);
