#version 450
layout(location = 0) out vec4 outColor;
void main()
{
    outColor = vec4(1.0, 0.5, 0.25, 1.0);
}
