"""Raises a lit surface's colour sheet for the light the levels give it.

The sheets are painted as their surfaces should look on screen. In a level the ambient light, set as
sRGB grey 0.5, reaches the shaders as linear 0.21, and the sun adds at most 0.1: a surface would show
a fifth of its colour and the dark worlds would sink into black. So the colours are raised in linear
light by the factor that makes that ambient show them at half their strength, with a soft shoulder
that keeps the brightest apart, and their hue, instead of flattening them into white. Sheets drawn
without the scene's lights (sprites, menus, effects) do not go through here.
"""
import numpy as np

AMBIENT_SRGB = 0.5
SHOWN_SHARE = 0.5  # of a painted colour, under the ambient light alone
SHOULDER = 0.75  # linear level where the rise starts to bend towards white


def srgb_to_linear(aValue):
    value = np.asarray(aValue, dtype=np.float64)
    return np.where(value < 0.04045, value / 12.92, ((value + 0.055) / 1.055) ** 2.4)


def linear_to_srgb(aValue):
    value = np.asarray(aValue, dtype=np.float64)
    return np.where(value <= 0.0031308, value * 12.92, 1.055 * np.power(value, 1.0 / 2.4) - 0.055)


GAIN = SHOWN_SHARE / float(srgb_to_linear(AMBIENT_SRGB))


def raise_linear(aLinear):
    """Linear H x W x 3 colours raised by GAIN. Past the shoulder a colour is bent down as a whole, by
    its strongest channel, so that bright colours keep their hue instead of bleaching."""
    raised = np.asarray(aLinear, dtype=np.float64) * GAIN
    strongest = np.max(raised, axis=-1, keepdims=True)
    room = 1.0 - SHOULDER
    bent = SHOULDER + room * (1.0 - np.exp(-(strongest - SHOULDER) / room))
    scale = np.where(strongest > SHOULDER, bent / np.maximum(strongest, 1e-9), 1.0)
    return raised * scale


def for_scene_light(aImage):
    """An H x W x 3 or 4 sRGB image in 0..1, its colour raised; alpha is left as it is."""
    image = np.clip(np.asarray(aImage, dtype=np.float64), 0.0, 1.0)
    out = image.copy()
    out[..., :3] = linear_to_srgb(raise_linear(srgb_to_linear(image[..., :3])))
    return np.clip(out, 0.0, 1.0)
